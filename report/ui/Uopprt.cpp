#include "report/ui/Uopprt.h"

#include "report/PrintGeometry.h"
#include "report/Uprint.h"
#include "report/ui/RadioGroup.h"
#include "report/ui/Uoprt.h"

QPointer<TFopprt> Fopprt;

TFopprt::TFopprt(QWidget* parent)
    : PrintOptionsDialog(QStringLiteral("Fopprt"), QStringLiteral("Imprimir:"), parent) {}

int TFopprt::layoutResolution() const {
    return ldc::deskjet::kLayoutResolution;
}

void TFopprt::printChoice(ldc::DrawingSurface& surface, const ldc::StudyDocument& study,
                          int option) {
    // The margin is read at every document, so a choice made meanwhile in the printer
    // options takes effect at the next print. Without those options, their initial
    // "1.5 cm".
    const int marginItem = FOPRT ? FOPRT->SELECMAR->itemIndex() : TFOPRT::kInitialMargin;
    ldc::deskjet::printChoice(surface, study, option, ldc::deskJetMarginFactor(marginItem),
                              ldc::deskjet::record());
}

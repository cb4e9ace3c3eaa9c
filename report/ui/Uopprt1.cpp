#include "report/ui/Uopprt1.h"

#include "report/Uprint1.h"

QPointer<TFopprt1> Fopprt1;

TFopprt1::TFopprt1(QWidget* parent)
    : PrintOptionsDialog(QStringLiteral("Fopprt1"), QStringLiteral("Imprimir en Lasser :"),
                         parent) {}

int TFopprt1::layoutResolution() const {
    return ldc::laser::kLayoutResolution;
}

void TFopprt1::printChoice(ldc::DrawingSurface& surface, const ldc::StudyDocument& study,
                           int option) {
    ldc::laser::printChoice(surface, study, option, ldc::laser::record());
}

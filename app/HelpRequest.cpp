#include "app/HelpRequest.h"

#include "app/LdcApplication.h"
#include "app/help/HelpViewer.h"

namespace {

HelpRequestHook& hook() {
    static HelpRequestHook instance;
    return instance;
}

}  // namespace

void requestHelp(QWidget* owner, unsigned command, quintptr data) {
    if (hook()) {
        hook()(command, data);
        return;
    }
    WinHelp(owner, LdcApplication::helpFile(), command, data);
}

void setHelpRequestHook(HelpRequestHook replacement) {
    hook() = std::move(replacement);
}

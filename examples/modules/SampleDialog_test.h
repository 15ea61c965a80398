#pragma once

// The rig of the dialog tests: a module's property dialog shown to the library's dialog host.

#include <vector>

#include <corekit80/foundation/TCResourceLanguage.h>
#include <corekit80/modules/TCBaseModule.h>
#include <corekit80/propertydialog/TCPropertyDialog.h>
#include <corekit80/propertydialog/TCPropertyDialogHost.h>

namespace sample_test {

// The module's dialog shown to a dialog host that makes the edits, in English, as a host
// shows it: BuildPropertyDialog, then OnEndShowDialog with the answer.
struct ShownDialog {
    ShownDialog(TCBaseModule& module, const std::vector<const char*>& edits)
    {
        const int language = TCSetLoadStrResLanguage(0);
        TCHostWindow* before = TCGetHostWindow();
        TCSetHostWindow(&host);
        for (const char* edit : edits)
            host.AddEdit(edit);
        result = module.BuildPropertyDialog(TCPropertyDialog::GetDummy());
        module.OnEndShowDialog(result);
        TCSetHostWindow(before);
        TCSetLoadStrResLanguage(language < 0 ? 0 : language);
    }
    TCPropertyDialogHost host;
    int result = 0;
};

}  // namespace sample_test

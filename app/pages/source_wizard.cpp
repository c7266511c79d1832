#include "app/pages/source_wizard.h"

namespace source {

namespace {
SourceWizard* g_wizard = nullptr;
}  // namespace

SourceWizard* Wizard() { return g_wizard; }
void InstallWizard(SourceWizard* wizard) { g_wizard = wizard; }

}  // namespace source

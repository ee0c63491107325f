// TEMPORARY: drawing waits for the graphs library.
#include "ui/main_form.hpp"

namespace quilmor::ui {
void TMainForm::DrawGraph() {}
void TMainForm::SaveGraph(bool) {}
void TMainForm::InputSaveActionExecute() {}
}  // namespace quilmor::ui

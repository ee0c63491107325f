// TEMPORARY: the evaluations wait for the calculator library.
#include "ui/calc_form.hpp"

namespace quilmor::ui {
void TCalcForm::Edit7Click() {}
void TCalcForm::Edit4Exit() {}
void TCalcForm::Edit5Exit() {}
}  // namespace quilmor::ui

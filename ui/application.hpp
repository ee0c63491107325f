// The desktop program's objects, created in the order of program start: the
// main window, the data module, the finish window and the calculator window.
// main() and the tests build the program the same way.
#pragma once

#include "ui/run_state.hpp"
#include "report/data_module.hpp"
#include "textio/interaction.hpp"
#include "ui/calc_form.hpp"
#include "ui/finish_form.hpp"
#include "ui/main_form.hpp"

namespace quilmor::ui {

class Application {
 public:
  explicit Application(UserInteraction& ui);
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  RunState state;
  TMainForm mainForm;
  report::TDMQuilmor dataModule;
  TFinishForm finishForm;
  TCalcForm calcForm;
};

}  // namespace quilmor::ui

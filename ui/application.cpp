#include "ui/application.hpp"

namespace quilmor::ui {

Application::Application(UserInteraction& ui)
    : mainForm(ui, state), dataModule(ui), finishForm(ui), calcForm(ui, dataModule, mainForm) {
  mainForm.Attach(dataModule, finishForm, calcForm);
}

}  // namespace quilmor::ui

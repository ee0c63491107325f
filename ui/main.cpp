// quilmor: the desktop program.
#include <QApplication>
#include <QMessageBox>
#include <csignal>
#include <exception>

#include "ui/application.hpp"
#include "ui/qt_interaction.hpp"

namespace {

// Whatever escapes an event handler is shown, not fatal.
class QuilmorApplication : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
      QMessageBox::critical(
          nullptr, applicationName(),
          QStringLiteral("An unexpected error occurred: ") + QString::fromLocal8Bit(error.what()));
    } catch (...) {
      QMessageBox::critical(nullptr, applicationName(),
                            QStringLiteral("An unexpected error occurred."));
    }
    return false;
  }
};

}  // namespace

int main(int argc, char** argv) {
  // A write beyond the file-size limit fails with its reason; the earlier
  // files stay.
  std::signal(SIGXFSZ, SIG_IGN);
  QuilmorApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(quilmor::ui::kApplicationTitle));
  QApplication::setOrganizationName(QStringLiteral("Quilmor"));  // where the recent files are kept
  // Only the finish window ends the program.
  QApplication::setQuitOnLastWindowClosed(false);
  quilmor::ui::QtInteraction interaction;
  quilmor::ui::Application program(interaction);
  interaction.Attach(&program.mainForm, program.mainForm.WaitMemo);
  program.mainForm.show();
  return QApplication::exec();
}

// The fixed texts of the windows: the five help texts of the Intro page, the
// paste help and the note of the Input page, and the finish window's text.
#pragma once

#include <QString>

namespace quilmor::ui::help {

QString Introduction();
QString Distributions();
QString Discontinuity();
QString Confidence();
QString Intervals();
QString PasteHelp();
QString WaitNote();
QString Finish();

}  // namespace quilmor::ui::help

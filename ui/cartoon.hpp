// The small decorative picture of the Input page: an S-shaped cumulative
// frequency curve through a few observed points.
#pragma once

#include <QPixmap>

namespace quilmor::ui {

QPixmap MakeCartoon(int width, int height);

}  // namespace quilmor::ui

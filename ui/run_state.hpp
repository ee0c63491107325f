// What the windows keep of the choices and the last run between events: the
// break-point option of the Input page and the name of the fitted function
// the graph titles show, with whether it belongs to the report on screen.
#pragma once

#include <string>

namespace quilmor::ui {

struct RunState {
  bool BreakPointAllowed = false;
  std::string DistributionName;
  bool NameIsCurrent = false;
};

}  // namespace quilmor::ui

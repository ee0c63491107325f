// The "Design values" page after Output: the design-value table of the last
// run (X of each return period by the calculator's inverse, the method's
// limits, the risk over a design life) and every candidate's goodness of
// fit, both sortable; a Bootstrap button that runs B replicates of the whole
// analysis on a worker thread, with a progress bar and Cancel; Copy
// (tab-separated, for a spreadsheet) and Save CSV for both tables.
#pragma once

#include <QWidget>
#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "report/design_values.hpp"
#include "run/bootstrap.hpp"
#include "run/design_table.hpp"
#include "run/run_analysis.hpp"
#include "textio/interaction.hpp"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTimer;

namespace quilmor::ui {

inline constexpr const char* kDesignPageTitle = " Design values ";
inline constexpr const char* kNoAnalysisText =
    "Design values are computed from a run: press Save-Run on the Input page.";
inline constexpr int kDefaultReplicates = 1000;

class DesignValuesPage : public QWidget {
  Q_OBJECT

 public:
  explicit DesignValuesPage(UserInteraction& ui, QWidget* parent = nullptr);
  ~DesignValuesPage() override;  // stops a running bootstrap first

  // The analysis of the run just made (held in memory; nothing is read back
  // from disk). `calculatorN` is the number of rows of its input file.
  void SetAnalysis(const run::AnalysisResult& analysis, int calculatorN,
                   const std::string& preference, bool breakPointAllowed);
  // No analysis in memory (a report opened from disk): empty tables.
  void Clear();
  bool HasAnalysis() const { return m_analysis != nullptr; }
  bool BootstrapRunning() const { return m_worker.joinable(); }
  const std::vector<run::DesignRow>& DesignRows() const { return m_rows; }
  const std::optional<run::BootstrapResult>& Bootstrap() const { return m_bootstrap; }

  QLabel* HeadingLabel = nullptr;
  QLineEdit* DesignLifeEdit = nullptr;
  QLineEdit* ReplicatesEdit = nullptr;
  QPushButton* BootstrapButton = nullptr;
  QPushButton* CancelButton = nullptr;
  QProgressBar* BootstrapProgress = nullptr;
  QLabel* BootstrapLabel = nullptr;
  QTableWidget* DesignTable = nullptr;
  QTableWidget* CandidatesTable = nullptr;
  QPushButton* CopyDesignButton = nullptr;
  QPushButton* SaveDesignButton = nullptr;
  QPushButton* CopyCandidatesButton = nullptr;
  QPushButton* SaveCandidatesButton = nullptr;

  // --- Handlers ----------------------------------------------------------------
  void DesignLifeEditExit();
  void BootstrapButtonClick();
  void CancelButtonClick();
  void CopyDesignButtonClick();
  void SaveDesignButtonClick();
  void CopyCandidatesButtonClick();
  void SaveCandidatesButtonClick();

 private:
  void RebuildRows();
  void FillDesignTable();
  void FillCandidatesTable();
  void UpdateControls();
  void StopWorker();
  void BootstrapFinished(int generation, run::BootstrapResult result);
  void PollProgress();
  void SaveCsv(const std::string& text);

  UserInteraction& m_ui;
  std::shared_ptr<const run::AnalysisResult> m_analysis;
  int m_calculatorN = 0;
  std::string m_preference = "1";
  bool m_breakPointAllowed = false;
  report::DesignOptions m_options;
  std::vector<run::DesignRow> m_rows;
  std::vector<run::CandidateGoodness> m_candidates;
  std::optional<run::BootstrapResult> m_bootstrap;

  std::thread m_worker;
  std::atomic<bool> m_cancel{false};
  std::atomic<int> m_done{0};
  int m_generation = 0;  // the analysis a finished bootstrap belongs to
  QTimer* m_progressTimer = nullptr;
};

}  // namespace quilmor::ui

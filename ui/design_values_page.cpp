#include "ui/design_values_page.hpp"

#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>
#include <limits>

#include "engine/catalogue.hpp"
#include "textio/csv_writer.hpp"
#include "textio/text_file.hpp"

namespace quilmor::ui {

namespace {

// A cell that sorts by its number, not its text; empty cells first.
class NumberItem : public QTableWidgetItem {
 public:
  explicit NumberItem(double value)
      : QTableWidgetItem(QString::fromStdString(textio::ShortNumber(value))), m_value(value) {
    setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setFlags(flags() & ~Qt::ItemIsEditable);
  }
  bool operator<(const QTableWidgetItem& other) const override {
    const auto* number = dynamic_cast<const NumberItem*>(&other);
    if (!number) return QTableWidgetItem::operator<(other);
    const double a = std::isnan(m_value) ? -std::numeric_limits<double>::infinity() : m_value;
    const double b =
        std::isnan(number->m_value) ? -std::numeric_limits<double>::infinity() : number->m_value;
    return a < b;
  }

 private:
  double m_value;
};

QTableWidgetItem* TextItem(const std::string& text) {
  auto* item = new QTableWidgetItem(QString::fromStdString(text));
  item->setFlags(item->flags() & ~Qt::ItemIsEditable);
  return item;
}

QTableWidget* MakeTable(const char* name) {
  auto* table = new QTableWidget;
  table->setObjectName(QString::fromLatin1(name));
  table->setSortingEnabled(true);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->verticalHeader()->hide();
  table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  return table;
}

QPushButton* MakeButton(const char* name, const char* caption) {
  auto* button = new QPushButton(QString::fromLatin1(caption));
  button->setObjectName(QString::fromLatin1(name));
  return button;
}

std::string FullNumber(double value) { return textio::CsvNumber(value); }

constexpr const char* kCsvFilter = "CSV files (*.csv)|*.csv";

}  // namespace

DesignValuesPage::DesignValuesPage(UserInteraction& ui, QWidget* parent)
    : QWidget(parent), m_ui(ui) {
  setObjectName(QStringLiteral("DesignTabSheet"));
  auto* layout = new QVBoxLayout(this);
  HeadingLabel = new QLabel(QString::fromLatin1(kNoAnalysisText));
  HeadingLabel->setObjectName(QStringLiteral("HeadingLabel"));
  layout->addWidget(HeadingLabel);

  auto* controls = new QHBoxLayout;
  controls->addWidget(new QLabel(QStringLiteral("Design life (years):")));
  DesignLifeEdit = new QLineEdit;
  DesignLifeEdit->setObjectName(QStringLiteral("DesignLifeEdit"));
  DesignLifeEdit->setMaximumWidth(70);
  DesignLifeEdit->setToolTip(
      QStringLiteral("The risk column gives the probability that X is exceeded at least once "
                     "in this many years"));
  controls->addWidget(DesignLifeEdit);
  controls->addSpacing(16);
  controls->addWidget(new QLabel(QStringLiteral("Replicates:")));
  ReplicatesEdit = new QLineEdit(QString::number(kDefaultReplicates));
  ReplicatesEdit->setObjectName(QStringLiteral("ReplicatesEdit"));
  ReplicatesEdit->setMaximumWidth(70);
  controls->addWidget(ReplicatesEdit);
  BootstrapButton = MakeButton("BootstrapButton", "Bootstrap");
  BootstrapButton->setToolTip(
      QStringLiteral("Repeat the whole analysis, choice of function included, on resamples of "
                     "the values"));
  CancelButton = MakeButton("CancelButton", "Cancel");
  controls->addWidget(BootstrapButton);
  controls->addWidget(CancelButton);
  BootstrapProgress = new QProgressBar;
  BootstrapProgress->setObjectName(QStringLiteral("BootstrapProgress"));
  controls->addWidget(BootstrapProgress, 1);
  layout->addLayout(controls);
  BootstrapLabel = new QLabel;
  BootstrapLabel->setObjectName(QStringLiteral("BootstrapLabel"));
  BootstrapLabel->setWordWrap(true);
  layout->addWidget(BootstrapLabel);

  DesignTable = MakeTable("DesignTable");
  layout->addWidget(DesignTable, 3);
  auto* designButtons = new QHBoxLayout;
  CopyDesignButton = MakeButton("CopyDesignButton", "Copy");
  SaveDesignButton = MakeButton("SaveDesignButton", "Save CSV");
  designButtons->addStretch();
  designButtons->addWidget(CopyDesignButton);
  designButtons->addWidget(SaveDesignButton);
  layout->addLayout(designButtons);

  layout->addWidget(new QLabel(QStringLiteral(
      "Goodness of fit of every candidate, by SSE (near best: within 10 % of the least SSE)")));
  CandidatesTable = MakeTable("CandidatesTable");
  layout->addWidget(CandidatesTable, 3);
  auto* candidateButtons = new QHBoxLayout;
  CopyCandidatesButton = MakeButton("CopyCandidatesButton", "Copy");
  SaveCandidatesButton = MakeButton("SaveCandidatesButton", "Save CSV");
  candidateButtons->addStretch();
  candidateButtons->addWidget(CopyCandidatesButton);
  candidateButtons->addWidget(SaveCandidatesButton);
  layout->addLayout(candidateButtons);

  m_progressTimer = new QTimer(this);
  m_progressTimer->setInterval(100);
  connect(m_progressTimer, &QTimer::timeout, this, &DesignValuesPage::PollProgress);
  connect(DesignLifeEdit, &QLineEdit::editingFinished, this, &DesignValuesPage::DesignLifeEditExit);
  connect(BootstrapButton, &QPushButton::clicked, this, &DesignValuesPage::BootstrapButtonClick);
  connect(CancelButton, &QPushButton::clicked, this, &DesignValuesPage::CancelButtonClick);
  connect(CopyDesignButton, &QPushButton::clicked, this, &DesignValuesPage::CopyDesignButtonClick);
  connect(SaveDesignButton, &QPushButton::clicked, this, &DesignValuesPage::SaveDesignButtonClick);
  connect(CopyCandidatesButton, &QPushButton::clicked, this,
          &DesignValuesPage::CopyCandidatesButtonClick);
  connect(SaveCandidatesButton, &QPushButton::clicked, this,
          &DesignValuesPage::SaveCandidatesButtonClick);
  UpdateControls();
}

DesignValuesPage::~DesignValuesPage() { StopWorker(); }

void DesignValuesPage::StopWorker() {
  if (!m_worker.joinable()) return;
  m_cancel = true;
  m_worker.join();
  m_progressTimer->stop();
}

void DesignValuesPage::SetAnalysis(const run::AnalysisResult& analysis, int calculatorN,
                                   const std::string& preference, bool breakPointAllowed) {
  StopWorker();
  ++m_generation;
  m_analysis = std::make_shared<const run::AnalysisResult>(analysis);
  m_calculatorN = calculatorN;
  m_preference = preference;
  m_breakPointAllowed = breakPointAllowed;
  m_bootstrap.reset();
  BootstrapLabel->clear();
  BootstrapProgress->reset();
  if (m_analysis->Stopped() || m_analysis->error) {
    Clear();
    return;
  }
  const report::ReportModel& model = m_analysis->model;
  HeadingLabel->setText(QStringLiteral("%1 (code %2), N = %3")
                            .arg(QString::fromStdString(model.DistributionName))
                            .arg(model.Fit.Code)
                            .arg(m_analysis->series.N));
  m_candidates = run::RankCandidates(m_analysis->series, m_analysis->fit);
  RebuildRows();
  FillCandidatesTable();
  UpdateControls();
}

void DesignValuesPage::Clear() {
  StopWorker();
  ++m_generation;
  m_analysis.reset();
  m_rows.clear();
  m_candidates.clear();
  m_bootstrap.reset();
  HeadingLabel->setText(QString::fromLatin1(kNoAnalysisText));
  BootstrapLabel->clear();
  BootstrapProgress->reset();
  FillDesignTable();
  FillCandidatesTable();
  UpdateControls();
}

void DesignValuesPage::RebuildRows() {
  m_rows.clear();
  if (m_analysis) m_rows = run::DesignTable(m_analysis->model, m_calculatorN, m_options);
  if (m_bootstrap) run::AddBootstrapColumns(m_rows, *m_bootstrap);
  FillDesignTable();
}

void DesignValuesPage::FillDesignTable() {
  const textio::Table header = run::DesignValueTable({}, FullNumber);
  DesignTable->setSortingEnabled(false);
  DesignTable->clear();
  DesignTable->setColumnCount(static_cast<int>(header.columns.size()));
  QStringList names;
  for (const textio::TableColumn& c : header.columns) names << QString::fromStdString(c.name);
  DesignTable->setHorizontalHeaderLabels(names);
  DesignTable->setRowCount(static_cast<int>(m_rows.size()));
  for (int i = 0; i < static_cast<int>(m_rows.size()); ++i) {
    const run::DesignRow& r = m_rows[static_cast<std::size_t>(i)];
    const double cells[] = {r.returnPeriod,
                            r.frequency,
                            r.x,
                            r.methodLower,
                            r.methodUpper,
                            r.chosenAnewLower,
                            r.chosenAnewUpper,
                            r.sameFunctionLower,
                            r.sameFunctionUpper,
                            r.bootstrapMedian,
                            r.risk};
    for (int c = 0; c < static_cast<int>(std::size(cells)); ++c) {
      DesignTable->setItem(i, c, new NumberItem(cells[c]));
    }
  }
  DesignTable->setSortingEnabled(true);
}

void DesignValuesPage::FillCandidatesTable() {
  const textio::Table table = run::CandidateTable(m_candidates, FullNumber);
  CandidatesTable->setSortingEnabled(false);
  CandidatesTable->clear();
  CandidatesTable->setColumnCount(static_cast<int>(table.columns.size()));
  QStringList names;
  for (const textio::TableColumn& c : table.columns) names << QString::fromStdString(c.name);
  CandidatesTable->setHorizontalHeaderLabels(names);
  CandidatesTable->setRowCount(static_cast<int>(m_candidates.size()));
  for (int i = 0; i < static_cast<int>(m_candidates.size()); ++i) {
    const run::CandidateGoodness& r = m_candidates[static_cast<std::size_t>(i)];
    const engine::GoodnessOfFit& g = r.measures;
    const char* name = engine::CatalogueName(r.code);
    CandidatesTable->setItem(i, 0, new NumberItem(r.code));
    CandidatesTable->setItem(i, 1, TextItem(name ? name : ""));
    CandidatesTable->setItem(i, 2, new NumberItem(r.parameters));
    const double measures[] = {g.sse, g.rmse, g.aicc, g.bic, g.ksDistance, g.andersonDarling,
                               g.ppcc};
    for (int c = 0; c < static_cast<int>(std::size(measures)); ++c) {
      CandidatesTable->setItem(i, 3 + c, new NumberItem(measures[c]));
    }
    CandidatesTable->setItem(i, 10, TextItem(r.nearBest ? "yes" : ""));
    CandidatesTable->setItem(i, 11, TextItem(r.chosen ? "chosen" : ""));
  }
  CandidatesTable->setSortingEnabled(true);
}

void DesignValuesPage::UpdateControls() {
  const bool running = BootstrapRunning();
  const bool has = m_analysis != nullptr;
  BootstrapButton->setEnabled(has && !running);
  CancelButton->setEnabled(running);
  ReplicatesEdit->setEnabled(!running);
  DesignLifeEdit->setEnabled(has);
  CopyDesignButton->setEnabled(has);
  SaveDesignButton->setEnabled(has);
  CopyCandidatesButton->setEnabled(has && !m_candidates.empty());
  SaveCandidatesButton->setEnabled(has && !m_candidates.empty());
}

void DesignValuesPage::DesignLifeEditExit() {
  const std::string text = DesignLifeEdit->text().trimmed().toStdString();
  if (text.empty()) {
    m_options.designLife = 0;
  } else if (auto message = report::SetDesignLife(m_options, text)) {
    m_ui.ShowMessage(*message);
    return;
  }
  RebuildRows();
}

void DesignValuesPage::BootstrapButtonClick() {
  if (!m_analysis || BootstrapRunning()) return;
  report::DesignOptions options = m_options;
  if (auto message =
          report::SetBootstrapReplicates(options, ReplicatesEdit->text().trimmed().toStdString())) {
    m_ui.ShowMessage(*message);
    return;
  }
  if (options.bootstrapReplicates < 1) {
    m_ui.ShowMessage("A bootstrap needs at least 1 replicate");
    return;
  }
  m_options.bootstrapReplicates = options.bootstrapReplicates;
  m_cancel = false;
  m_done = 0;
  BootstrapProgress->setRange(0, options.bootstrapReplicates);
  BootstrapProgress->setValue(0);
  BootstrapLabel->setText(QStringLiteral("Bootstrap: %1 replicates of the whole analysis ...")
                              .arg(options.bootstrapReplicates));

  run::BootstrapRequest request;
  request.replicates = options.bootstrapReplicates;
  request.seed = m_options.seed;
  request.kind = m_options.bootstrapKind;
  request.preference = m_preference;
  request.breakPointAllowed = m_breakPointAllowed;
  request.cancel = &m_cancel;
  request.progress = [this] { ++m_done; };
  // The design rows without bootstrap columns: only their points and
  // estimates are used.
  const std::vector<run::DesignRow> design =
      run::DesignTable(m_analysis->model, m_calculatorN, m_options);
  const std::shared_ptr<const run::AnalysisResult> analysis = m_analysis;
  const int generation = m_generation;
  m_worker = std::thread([this, analysis, design, request, generation] {
    run::BootstrapResult result =
        run::RunBootstrap(analysis->series, analysis->fit, analysis->model, design, request);
    QMetaObject::invokeMethod(
        this, [this, generation, result] { BootstrapFinished(generation, result); },
        Qt::QueuedConnection);
  });
  m_progressTimer->start();
  UpdateControls();
}

void DesignValuesPage::CancelButtonClick() { m_cancel = true; }

void DesignValuesPage::PollProgress() { BootstrapProgress->setValue(m_done.load()); }

void DesignValuesPage::BootstrapFinished(int generation, run::BootstrapResult result) {
  // A bootstrap of an earlier analysis: its thread was joined when the
  // analysis changed, and what it found belongs to no table now.
  if (generation != m_generation) return;
  if (m_worker.joinable()) m_worker.join();
  m_progressTimer->stop();
  PollProgress();
  UpdateControls();
  if (result.cancelled) {
    BootstrapLabel->setText(
        QStringLiteral("Bootstrap cancelled after %1 of %2 replicates; no limits were computed.")
            .arg(result.completed)
            .arg(result.replicates));
    return;
  }
  QString shares;
  for (const run::CodeShare& c : result.chosenCodes) {
    if (!shares.isEmpty()) shares += QStringLiteral(", ");
    shares += QStringLiteral("%1: %2 %").arg(c.code).arg(100.0 * c.share, 0, 'f', 1);
  }
  BootstrapLabel->setText(
      QStringLiteral("Bootstrap of %1 replicates (seed %2); stopped (no variation), left out: "
                     "%3. Functions chosen anew (code: share): %4")
          .arg(result.replicates)
          .arg(static_cast<qulonglong>(result.seed))
          .arg(result.stopped)
          .arg(shares));
  m_bootstrap = std::move(result);
  RebuildRows();
}

void DesignValuesPage::CopyDesignButtonClick() {
  QApplication::clipboard()->setText(QString::fromStdString(
      textio::FormatTabSeparated(run::DesignValueTable(m_rows, FullNumber))));
}

void DesignValuesPage::CopyCandidatesButtonClick() {
  QApplication::clipboard()->setText(QString::fromStdString(
      textio::FormatTabSeparated(run::CandidateTable(m_candidates, FullNumber))));
}

void DesignValuesPage::SaveCsv(const std::string& text) {
  const std::optional<std::string> name = m_ui.ChooseSaveFile({kCsvFilter, "csv", ""});
  if (!name) return;
  std::string error;
  if (!textio::WriteFileAtomic(*name, text, &error)) {
    m_ui.ShowMessage("The file " + *name + " could not be written: " + error);
  }
}

void DesignValuesPage::SaveDesignButtonClick() {
  SaveCsv(textio::FormatCsv(run::DesignValueTable(m_rows, FullNumber)));
}

void DesignValuesPage::SaveCandidatesButtonClick() {
  SaveCsv(textio::FormatCsv(run::CandidateTable(m_candidates, FullNumber)));
}

}  // namespace quilmor::ui

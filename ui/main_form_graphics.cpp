// The Graphics page: choosing, drawing, saving and opening graphs.
#include <QFile>
#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>
#include <filesystem>

#include "graphs/graph_file.hpp"
#include "graphs/graph_types.hpp"
#include "graphs/paper_scales.hpp"
#include "graphs/bitmap.hpp"
#include "graphs/draw_graph.hpp"
#include "textio/text_file.hpp"
#include "ui/design_values_page.hpp"
#include "ui/graph_view.hpp"
#include "ui/main_form.hpp"
#include "ui/qt_interaction.hpp"

namespace quilmor::ui {

QWidget* TMainForm::BuildGraphicsPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("GraphicsTabSheet"));
  QFont tahoma(QStringLiteral("Tahoma"));
  tahoma.setStyleHint(QFont::SansSerif);
  tahoma.setPointSize(10);
  page->setFont(tahoma);

  // The graph grows with the page; an opened picture takes its place.
  auto* area = new QWidget(page);
  area->setObjectName(QStringLiteral("GraphArea"));
  GraphImage = new GraphView(area);
  GraphImage->setObjectName(QStringLiteral("GraphImage"));
  GraphImage->hide();
  PictureImage = new QLabel(area);
  PictureImage->setObjectName(QStringLiteral("PictureImage"));
  PictureImage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  PictureImage->setMinimumSize(1, 1);
  PictureImage->hide();
  auto* stack = new QGridLayout(area);
  stack->setContentsMargins(0, 0, 0, 0);
  stack->addWidget(GraphImage, 0, 0);
  stack->addWidget(PictureImage, 0, 0);

  // The five choices stay beside the graph: choosing another type draws it.
  ChoicesPanel = new QFrame(page);
  ChoicesPanel->setObjectName(QStringLiteral("ChoicesPanel"));
  ChoicesPanel->setFrameShape(QFrame::StyledPanel);
  GraphicsRadioGroup = new QGroupBox(QStringLiteral("Make graph"), ChoicesPanel);
  GraphicsRadioGroup->setObjectName(QStringLiteral("GraphicsRadioGroup"));
  auto newRadio = [this](const char* name, const char* caption) {
    auto* radio = new QRadioButton(QLatin1String(caption), GraphicsRadioGroup);
    radio->setObjectName(QLatin1String(name));
    return radio;
  };
  CumulativeRadioButton = newRadio("CumulativeRadioButton", "Cumulative distribution");
  QQRadioButton = newRadio("QQRadioButton", "Calc-Obs Cum Freq");
  IntervalRadioButton = newRadio("IntervalRadioButton", "Interval distribution");
  ReturnRadioButton = newRadio("ReturnRadioButton", "Return periods");
  X_ConfidenceRadioButton = newRadio("X_ConfidenceRadioButton", "Confidence belt of X");
  PaperRadioButton = newRadio("PaperRadioButton", "Probability paper");
  CumulativeRadioButton->setChecked(true);
  // Options of the two graphs that have them, under their choice.
  LogPeriodCheckBox = new QCheckBox(QStringLiteral("Logarithmic return periods"), GraphicsRadioGroup);
  LogPeriodCheckBox->setObjectName(QStringLiteral("LogPeriodCheckBox"));
  PaperComboBox = new QComboBox(GraphicsRadioGroup);
  PaperComboBox->setObjectName(QStringLiteral("PaperComboBox"));
  PaperComboBox->addItem(QStringLiteral("Paper of the fitted function"), QString());
  for (const char* name : {"normal", "lognormal", "gumbel", "weibull", "exponential"}) {
    const auto paper = graphs::PaperNamed(name);
    if (!paper) continue;
    const std::string_view title = graphs::PaperTitle(*paper);
    PaperComboBox->addItem(
        QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())),
        QLatin1String(name));
  }
  LogXCheckBox = new QCheckBox(QStringLiteral("Logarithmic X"), GraphicsRadioGroup);
  LogXCheckBox->setObjectName(QStringLiteral("LogXCheckBox"));
  auto* radios = new QVBoxLayout(GraphicsRadioGroup);
  const auto redraw = [this] {
    UpdateGraphOptions();
    // A graph on the page follows the user's choice at once.
    if (GraphShown && !GraphImage->isHidden()) GoButtonClick();
  };
  for (QRadioButton* r : {CumulativeRadioButton, QQRadioButton, IntervalRadioButton,
                          ReturnRadioButton, X_ConfidenceRadioButton, PaperRadioButton}) {
    radios->addWidget(r);
    if (r == ReturnRadioButton) radios->addWidget(LogPeriodCheckBox);
    connect(r, &QRadioButton::clicked, this, redraw);
  }
  radios->addWidget(PaperComboBox);
  radios->addWidget(LogXCheckBox);
  connect(LogPeriodCheckBox, &QCheckBox::toggled, this, redraw);
  connect(LogXCheckBox, &QCheckBox::toggled, this, redraw);
  connect(PaperComboBox, &QComboBox::activated, this, redraw);
  UpdateGraphOptions();
  GoButton = new QPushButton(QStringLiteral("Go"), ChoicesPanel);
  GoButton->setObjectName(QStringLiteral("GoButton"));
  GoButton->setAutoDefault(false);
  QFont bold = GoButton->font();
  bold.setBold(true);
  GoButton->setFont(bold);
  auto* panel = new QVBoxLayout(ChoicesPanel);
  panel->addWidget(GraphicsRadioGroup);
  panel->addWidget(GoButton, 0, Qt::AlignRight);
  ChoicesPanel->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  ChoicesPanel->hide();

  auto newButton = [page](const char* name, const char* caption) {
    auto* button = new QPushButton(QLatin1String(caption), page);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
  };
  SeeGraphButton = newButton("SeeGraphButton", "Open a graph");
  MakeGraphButton = newButton("MakeGraphButton", "Make graph");
  SelectButton = newButton("SelectButton", "Selection");
  SaveGraphButton = newButton("SaveGraphButton", "Save color graph");
  SaveBlWhButton = newButton("SaveBlWhButton", "Save black-white graph");
  SaveAsButton = newButton("SaveAsButton", "Save as...");
  SaveAsButton->setToolTip(QStringLiteral("The graph as PNG, SVG, PDF or bitmap"));
  SelectButton->hide();
  SaveGraphButton->hide();
  SaveAsButton->hide();

  connect(SeeGraphButton, &QPushButton::clicked, GraphOpenAction, &QAction::trigger);
  connect(MakeGraphButton, &QPushButton::clicked, this, &TMainForm::OutputOpenActionExecute);
  connect(SelectButton, &QPushButton::clicked, this, &TMainForm::SelectButtonClick);
  connect(SaveGraphButton, &QPushButton::clicked, this, &TMainForm::SaveGraphButtonClick);
  connect(SaveBlWhButton, &QPushButton::clicked, this, &TMainForm::SaveBlWhButtonClick);
  connect(SaveAsButton, &QPushButton::clicked, this, &TMainForm::SaveAsButtonClick);
  connect(GoButton, &QPushButton::clicked, this, &TMainForm::GoButtonClick);

  auto* buttons = new QHBoxLayout;
  for (QPushButton* b :
       {SeeGraphButton, MakeGraphButton, SelectButton, SaveGraphButton, SaveBlWhButton,
        SaveAsButton}) {
    buttons->addWidget(b);
  }
  buttons->addStretch(1);
  auto* side = new QVBoxLayout;
  side->addWidget(ChoicesPanel);
  side->addStretch(1);
  auto* top = new QHBoxLayout;
  top->addWidget(area, 1);
  top->addLayout(side);
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(top, 1);
  layout->addLayout(buttons);
  return page;
}

void TMainForm::GraphicsTabSheetShow() {
  ShowStatus(QStringLiteral(
      "Graphics presentations of output data can be seen and saved. Use \"Make graph\" to open "
      "an output file and make the graphs."));
  InputSaveAction->setEnabled(false);
  if (!GraphShown) {
    SaveGraphButton->hide();
    SaveBlWhButton->hide();
    SaveAsButton->hide();
  }
  if (!OutputShown) ChoicesPanel->hide();
  OnOutputPage = false;
}

void TMainForm::SelectButtonClick() {
  // The choices stay beside the graph; the graph stays as it is.
  ShowStatus(QStringLiteral("Select type of graph"));
  ChoicesPanel->show();
}

void TMainForm::GoButtonClick() {
  ShowStatus(QStringLiteral(
      "The graph can be saved, or another selection can be made, or another output file can be "
      "opened using \"Make graph\""));
  if (CumulativeRadioButton->isChecked()) {
    GraphType = 1;
  } else if (IntervalRadioButton->isChecked()) {
    GraphType = 2;
  } else if (X_ConfidenceRadioButton->isChecked()) {
    GraphType = 3;
  } else if (ReturnRadioButton->isChecked()) {
    GraphType = 4;
  } else if (QQRadioButton->isChecked()) {
    GraphType = 5;
  } else if (PaperRadioButton->isChecked()) {
    GraphType = graphs::kPaperGraph;
  } else {
    Message(" The desired type of graph could not be assessed");
    return;
  }
  DrawGraph();
}

void TMainForm::GraphOpenActionExecute() {
  const std::optional<std::string> chosen = m_ui.ChooseOpenFile(GraphOpenDialog());
  if (!chosen) {
    Message("No graphics file was selected");
    return;
  }
  std::error_code ec;
  if (!std::filesystem::is_regular_file(*chosen, ec)) {
    Message("File does not exist, please select another one");
    return;
  }
  const std::optional<QImage> picture = graphs::LoadGraphImage(*chosen);
  if (!picture) {
    Message("The file \"" + *chosen + "\" is not a readable picture");
    return;
  }
  PictureImage->setPixmap(QPixmap::fromImage(*picture));
  GraphShown = true;
  PictureImage->show();
  ChoicesPanel->hide();
  OutputMemo->hide();
  ViewGraphButton->hide();
  CalcButton->hide();
  HideGraphControls();
  SetDialogFolderFromFile(*chosen);
  ShowPage(GraphicsTabSheet);
}

void TMainForm::DrawGraph() {
  GraphShown = true;
  PictureImage->hide();
  MakeGraphButton->show();
  SaveGraphButton->show();
  SaveBlWhButton->show();
  SaveAsButton->show();
  ShownPicture.reset();
  if (!m_dm) return;
  graphs::GraphRequest request;
  request.reportPath = textio::ChangeFileExt(m_dm->FileName, ".out");
  request.GraphType = GraphType;
  request.ColourGraph = ColourGraph;
  // Right after a Save-Run the name of the run; else the name of the code in
  // the report (the name held so far when the report's code has none).
  request.title = {m_state.DistributionName, !m_state.NameIsCurrent};
  request.scale.PlotWidth = PlotWidth;
  request.scale.PlotHeight = PlotHeight;
  request.scale.logPeriod = LogPeriodCheckBox->isChecked();
  const QString paper = PaperComboBox->currentData().toString();
  if (!paper.isEmpty()) request.paper.paper = graphs::PaperNamed(paper.toStdString());
  request.paper.logX = LogXCheckBox->isChecked();
  request.paper.bootstrapBand = BootstrapBand();
  // What could not be read has been told by the drawing (once: the report
  // that cannot be opened by the reader, a missing or damaged table by
  // DrawGraph).
  const graphs::DrawnGraph drawn = graphs::DrawGraph(*m_dm, request, GraphBitmap);
  if (drawn.picture && !m_state.NameIsCurrent) {
    m_state.DistributionName = drawn.picture->DistributionName;
  }
  // The screen's graph is painted again from what this drawing read, for
  // the size and pixel ratio it is shown at.
  if (drawn.picture) {
    auto picture = std::make_shared<const graphs::GraphPicture>(*drawn.picture);
    ShownPicture = picture;
    GraphImage->SetPainter([picture](QImage& image) { graphs::PaintGraph(*picture, image); },
                           GraphBitmap);
  } else {
    const QImage bitmap = GraphBitmap;
    GraphImage->SetPainter([bitmap](QImage& image) { image = bitmap; }, GraphBitmap);
  }
  GraphImage->show();
}

void TMainForm::SaveGraph() {
  DrawGraph();
  const std::optional<std::string> chosen = m_ui.ChooseSaveFile(GraphSaveDialog());
  if (!chosen) {
    Message("The graph was not saved");
    return;
  }
  std::error_code ec;
  if (std::filesystem::exists(*chosen, ec) &&
      !m_dm->ConfirmYesNo("The file already exists, overwrite?")) {
    return;
  }
  std::string error;
  if (!graphs::SaveGraphImage(GraphBitmap, *chosen, &error)) {
    Message("The graph could not be saved in  " + *chosen + ": " + error);
    return;
  }
  Message("The graph was saved in  " + *chosen);
}

std::optional<graphs::PaperBand> TMainForm::BootstrapBand() const {
  // Only the bootstrap of this run's fit, and only once it has been run.
  if (!DesignPage || !DesignPage->Bootstrap() || DesignPage->Bootstrap()->cancelled) {
    return std::nullopt;
  }
  if (!m_dm || textio::ChangeFileExt(m_dm->FileName, ".out") != DesignReportName) {
    return std::nullopt;
  }
  graphs::PaperBand band;
  for (const run::DesignRow& row : DesignPage->DesignRows()) {
    if (std::isfinite(row.chosenAnewLower)) band.lower.push_back({row.frequency, row.chosenAnewLower});
    if (std::isfinite(row.chosenAnewUpper)) band.upper.push_back({row.frequency, row.chosenAnewUpper});
  }
  if (band.lower.empty() && band.upper.empty()) return std::nullopt;
  return band;
}

void TMainForm::UpdateGraphOptions() {
  LogPeriodCheckBox->setEnabled(ReturnRadioButton->isChecked());
  PaperComboBox->setEnabled(PaperRadioButton->isChecked());
  LogXCheckBox->setEnabled(PaperRadioButton->isChecked());
}

void TMainForm::SaveAsButtonClick() {
  DrawGraph();
  if (!ShownPicture) {
    Message("The graph was not saved");
    return;
  }
  const std::optional<std::string> chosen =
      m_ui.ChooseSaveFile({"PNG picture|*.png|SVG drawing|*.svg|PDF document|*.pdf|"
                           "Windows bitmap|*.bmp",
                           "png", ""});
  if (!chosen) {
    Message("The graph was not saved");
    return;
  }
  std::string path = *chosen;
  if (!graphs::GraphFormatOf(path)) path += ".png";  // a name without a known extension
  std::error_code ec;
  if (std::filesystem::exists(path, ec) &&
      !m_dm->ConfirmYesNo("The file already exists, overwrite?")) {
    return;
  }
  std::string error;
  if (!graphs::SaveGraphFile(*ShownPicture, path, graphs::kScreenDpi, &error)) {
    Message("The graph could not be saved in  " + path + ": " + error);
    return;
  }
  Message("The graph was saved in  " + path);
}

void TMainForm::SaveGraphButtonClick() {
  ColourGraph = true;
  SaveGraph();
}

void TMainForm::SaveBlWhButtonClick() {
  ColourGraph = false;
  SaveGraph();
  // The picture stays black and white; the next drawing is in colour.
  ColourGraph = true;
}

}  // namespace quilmor::ui

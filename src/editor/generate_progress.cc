#include "editor/generate_progress.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>
#include <chrono>
#include <filesystem>

#include "app/generation_run.h"
#include "app/run_summary.h"
#include "config/configuration.h"
#include "editor/config_page.h"
#include "editor/editor_dialogs.h"
#include "editor/qt_text.h"

namespace quillet {

namespace {

constexpr size_t kLongestLine = 1000;
constexpr size_t kCutLine = 990;

// `path` with its extension (of the file name part) replaced by `extension`, or added when it has none.
std::string withExtension(const std::string& path, std::string_view extension, bool keep_existing) {
  std::filesystem::path file(path);
  if (keep_existing && file.has_extension()) return path;
  file.replace_extension(extension);
  return file.string();
}

}  // namespace

std::string displayLine(std::string_view text) {
  if (text.size() <= kLongestLine) return std::string(text);
  size_t cut = kCutLine;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;  // whole UTF-8 characters
  return std::string(text.substr(0, cut)) + " ...";
}

CGenerateProgress::CGenerateProgress(Configuration& configuration, EditorDialogs& dialogs, QWidget* parent,
                                     IPCScratchAreaGUI::Runner runner)
    : QDialog(parent),
      configuration_(configuration),
      dialogs_(dialogs),
      runner_(runner ? std::move(runner) : IPCScratchAreaGUI::Runner([](Configuration& configuration, MessageOutput& output) {
                               runGeneration(configuration, output);
                             })) {
  setWindowTitle(tr("Generate Documentation"));
  setModal(true);
  resize(640, 420);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(tr("Warnings")));
  auto* middle = new QHBoxLayout;
  list_ = new QListWidget;
  list_->setObjectName("messages");
  list_->setUniformItemSizes(true);
  middle->addWidget(list_, 1);

  auto* side = new QVBoxLayout;
  close_ = new QPushButton(tr("&Close"));
  startStop_ = new QPushButton(tr("Start"));
  auto* copy = new QPushButton(tr("Co&py"));
  openOutput_ = new QPushButton(tr("&Open Output"));
  close_->setObjectName("close");
  startStop_->setObjectName("startStop");
  copy->setObjectName("copy");
  openOutput_->setObjectName("openOutput");
  openOutput_->setEnabled(false);
  for (QPushButton* button : {close_, startStop_, copy, openOutput_}) {
    button->setAutoDefault(false);
    side->addWidget(button);
  }
  auto* view = new QGroupBox(tr("View Output"));
  auto* view_layout = new QVBoxLayout(view);
  viewHtml_ = new QPushButton(tr("&HTML ..."));
  viewRtf_ = new QPushButton(tr("&RTF ..."));
  viewWinHelp_ = new QPushButton(tr("&WinHelp ..."));
  viewHtml_->setObjectName("viewHtml");
  viewRtf_->setObjectName("viewRtf");
  viewWinHelp_->setObjectName("viewWinHelp");
  for (QPushButton* button : {viewHtml_, viewRtf_, viewWinHelp_}) {
    button->setAutoDefault(false);
    button->setEnabled(false);
    view_layout->addWidget(button);
  }
  side->addWidget(view);
  side->addStretch();
  middle->addLayout(side);
  layout->addLayout(middle, 1);
  progress_ = new QProgressBar;
  progress_->setObjectName("progress");
  progress_->setFormat(tr("%v of %m files parsed"));
  progress_->setRange(0, 1);
  progress_->setValue(0);
  layout->addWidget(progress_);
  summary_ = new QLabel;
  summary_->setObjectName("summary");
  summary_->setWordWrap(true);
  summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(summary_);

  undocumented_ = new QCheckBox(tr("List headers that were not &documented"));
  undocumented_->setObjectName("undocumented");
  undocumented_->setChecked(configuration.reportUndocumented());
  layout->addWidget(undocumented_);
  status_ = new QLabel;
  status_->setObjectName("status");
  status_->setFrameShape(QFrame::StyledPanel);
  status_->setFrameShadow(QFrame::Sunken);
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(status_);

  connect(close_, &QPushButton::clicked, this, &QDialog::close);
  connect(startStop_, &QPushButton::clicked, this, [this] {
    if (running())
      stopRun();
    else
      startRun();
  });
  connect(copy, &QPushButton::clicked, this, [this] { copyLines(); });
  connect(openOutput_, &QPushButton::clicked, this, [this] { openOutput(); });
  // The run reads this choice once, at its end, so it may change while the run works.
  connect(undocumented_, &QCheckBox::toggled, this,
          [this](bool on) { configuration_.setReportUndocumented(on); });
  connect(viewHtml_, &QPushButton::clicked, this, [this] { viewOutput(configuration_.htmlOutputFile()); });
  connect(viewRtf_, &QPushButton::clicked, this,
          [this] { viewOutput(withExtension(configuration_.rtfOutputFile(), ".rtf", true)); });
  connect(viewWinHelp_, &QPushButton::clicked, this,
          [this] { viewOutput(withExtension(configuration_.winHelpOutputFile(), ".hlp", false)); });

  channel_.setConfiguration(&configuration_);
  // Called on the worker thread: only posts a call to this window's thread, never waits for it.
  channel_.setNotify([this] {
    QMetaObject::invokeMethod(
        this, [this] { takeMessages(); }, Qt::QueuedConnection);
  });
  startRun();
}

CGenerateProgress::~CGenerateProgress() {
  stopAndWait();
  joinWorker();
}

void CGenerateProgress::startRun() {
  if (running()) return;
  joinWorker();  // the previous run's thread has ended; collect it
  list_->clear();
  status_->clear();
  startStop_->setText(tr("Stop"));
  startStop_->setEnabled(true);
  close_->setEnabled(false);
  for (QPushButton* button : {viewHtml_, viewRtf_, viewWinHelp_, openOutput_}) button->setEnabled(false);
  progress_->setRange(0, 1);
  progress_->setValue(0);
  summary_->clear();
  configuration_.setReportUndocumented(undocumented_->isChecked());
  stopRequested_ = false;
  summarized_ = false;
  started_ = std::chrono::steady_clock::now();
  // Marked as running before the thread starts, so that a close or stop at once is not missed.
  channel_.startRun();
  worker_ = std::thread([this] { channel_.runWorker(runner_); });
}

void CGenerateProgress::stopRun() {
  if (!running()) return;
  startStop_->setEnabled(false);
  stopRequested_ = true;
  channel_.requestCancel();
}

void CGenerateProgress::waitForRun() {
  while (running()) {
    // The worker clears a stop request when its run starts; a request made just before is made again.
    if (stopRequested_) channel_.requestCancel();
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
  }
  joinWorker();
  takeMessages();
}

void CGenerateProgress::takeMessages() {
  if (stopRequested_ && running()) channel_.requestCancel();  // see waitForRun
  const RunTally tally = channel_.tally();
  if (tally.modules > 0) {
    progress_->setRange(0, static_cast<int>(tally.modules));
    progress_->setValue(static_cast<int>(tally.modulesParsed));
  }
  if (!running()) {
    viewHtml_->setEnabled(!configuration_.htmlOutputFile().empty());
    viewRtf_->setEnabled(!configuration_.rtfOutputFile().empty());
    viewWinHelp_->setEnabled(!configuration_.winHelpOutputFile().empty());
    openOutput_->setEnabled(tally.files > 0);
    close_->setEnabled(true);
    startStop_->setEnabled(true);
    startStop_->setText(tr("Start"));
    if (!summarized_) {
      summarized_ = true;
      const double seconds =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
      summary_->setText(toQString(runSummary(tally, configuration_, seconds)));
    }
  }
  if (const std::string status = channel_.takeStatus(); !status.empty()) status_->setText(toQString(status));
  bool added = false;
  while (std::optional<std::string> line = channel_.nextMessage()) {
    list_->addItem(toQString(displayLine(*line)));
    added = true;
  }
  if (added) list_->setCurrentRow(list_->count() - 1);  // the newest line stays in view
}

void CGenerateProgress::joinWorker() {
  if (worker_.joinable()) worker_.join();
}

void CGenerateProgress::copyLines() {
  QString text;
  for (const QString& line : lines()) text += line + '\n';
  QApplication::clipboard()->setText(text);
}

void CGenerateProgress::viewOutput(const std::string& file) {
  if (file.empty()) return;
  const std::string full = std::filesystem::absolute(file).string();
  openOrTell(dialogs_, QUrl::fromLocalFile(toQString(full)), full);
}

void CGenerateProgress::openOutput() {
  if (!configuration_.htmlOutputFile().empty()) {
    viewOutput(configuration_.htmlOutputFile());
  } else if (!configuration_.rtfOutputFile().empty()) {
    viewOutput(withExtension(configuration_.rtfOutputFile(), ".rtf", true));
  } else if (!configuration_.winHelpOutputFile().empty()) {
    // A help file is only there once compiled on Windows; the folder holds what was written.
    viewOutput(std::filesystem::path(configuration_.winHelpOutputFile()).parent_path().string() + "/");
  }
}

QString CGenerateProgress::summaryText() const {
  return summary_->text();
}

QString CGenerateProgress::statusText() const {
  return status_->text();
}

QStringList CGenerateProgress::lines() const {
  QStringList all;
  for (int i = 0; i < list_->count(); ++i) all << list_->item(i)->text();
  return all;
}

void CGenerateProgress::stopAndWait() {
  if (!running()) return;
  stopRun();
  waitForRun();
}

void CGenerateProgress::closeEvent(QCloseEvent* event) {
  stopAndWait();
  QDialog::closeEvent(event);
}

void CGenerateProgress::reject() {
  stopAndWait();  // Escape closes as the Close button does, stopping a run first
  QDialog::reject();
}

void CGenerateProgress::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && running()) return;  // no default action while the run works
  QDialog::keyPressEvent(event);
}

}  // namespace quillet

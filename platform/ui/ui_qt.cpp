#include "platform/ui/ui_qt.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPointer>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QWindow>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include <utility>

#include "platform/printer/qt_printer.h"

namespace vt::ui {
namespace {

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
std::string S(const QString& s) { return s.toUtf8().toStdString(); }

std::vector<QMessageBox::StandardButton> ButtonsOf(int style) {
    using B = QMessageBox::StandardButton;
    switch (style & 7) {
    case kOkCancel: return {B::Ok, B::Cancel};
    case kAbortRetryIgnore: return {B::Abort, B::Retry, B::Ignore};
    case kYesNoCancel: return {B::Yes, B::No, B::Cancel};
    case kYesNo: return {B::Yes, B::No};
    case kRetryCancel: return {B::Retry, B::Cancel};
    default: return {B::Ok};
    }
}

QMessageBox::Icon IconOf(int style) {
    switch (style & 0x70) {
    case kCritical: return QMessageBox::Critical;
    case kQuestion: return QMessageBox::Question;
    case kExclamation: return QMessageBox::Warning;
    case kInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

// A file chosen before is shown chosen when the printer dialog opens: the
// choice stands until changed. The dialog adds its file entry, last in its
// printer list, only as it is shown, so the entry is picked then.
class ShowChosenFile : public QObject {
public:
    explicit ShowChosenFile(QString file) : file_(std::move(file)) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Show || file_.isEmpty()) return false;
        auto* printers = watched->findChild<QComboBox*>(QStringLiteral("printers"));
        auto* name = watched->findChild<QLineEdit*>(QStringLiteral("filename"));
        if (printers && name && printers->count() > 0) {
            printers->setCurrentIndex(printers->count() - 1);
            name->setText(file_);
        }
        file_.clear();
        return false;
    }

private:
    QString file_;
};

}  // namespace

std::unique_ptr<QMessageBox> BuildMessageBox(const std::string& prompt, int style, const std::string& title,
                                             QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(parent);
    box->setWindowTitle(title.empty() ? QCoreApplication::applicationName() : Q(title));
    // The report code ends lines with a carriage return alone at times.
    QString text = Q(prompt);
    text.replace("\r\n", "\n").replace('\r', '\n');
    box->setText(text);
    box->setIcon(IconOf(style));
    const auto buttons = ButtonsOf(style);
    for (auto b : buttons) box->addButton(b);
    const size_t wanted = static_cast<size_t>((style & 0x300) >> 8);
    box->setDefaultButton(buttons[wanted < buttons.size() ? wanted : 0]);
    // Escape answers as the window's close box would: Cancel where there is
    // one, the only button of an OK box; Yes/No boxes must be answered.
    for (auto b : buttons)
        if (b == QMessageBox::Cancel) box->setEscapeButton(b);
    if (buttons.size() == 1) box->setEscapeButton(buttons[0]);
    return box;
}

int AnswerOf(QMessageBox::StandardButton button) {
    switch (button) {
    case QMessageBox::Ok: return kOk;
    case QMessageBox::Abort: return kAbort;
    case QMessageBox::Retry: return kRetry;
    case QMessageBox::Ignore: return kIgnore;
    case QMessageBox::Yes: return kYes;
    case QMessageBox::No: return kNo;
    default: return kCancel;
    }
}

QString QtFilter(const std::string& filter) {
    // Pairs of description|pattern; Qt shows the description, which names the pattern.
    const QStringList parts = Q(filter).split('|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = QString(parts[i + 1]).replace(';', ' ');
        out << (parts[i].contains('(') ? parts[i] : parts[i] + " (" + patterns + ")");
    }
    if (parts.size() % 2 == 1 && !parts.back().isEmpty()) out << parts.back();
    return out.join(";;");
}

QtUi::~QtUi() {
    while (busyDepth_ > 0) {
        QApplication::restoreOverrideCursor();
        --busyDepth_;
    }
}

QWidget* QtUi::Parent() const {
    if (QWidget* w = MessageOwner()) return w;
    return sink_ ? sink_->DialogParent() : nullptr;
}

int QtUi::MessageBox(const std::string& prompt, int style, const std::string& title) {
    auto box = BuildMessageBox(prompt, style, title, Parent());
    // The pointer must not stay an hourglass over a question.
    const bool busy = busyDepth_ > 0;
    if (busy) QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int answer = Ask(*box);
    if (busy) QApplication::restoreOverrideCursor();
    return answer;
}

QWidget* MessageOwner() {
    static QPointer<QWidget> owner;
    // The window is remembered only for the gap between the boxes of one
    // entry: once a window that is no message box takes the focus it is
    // forgotten, so that a message raised later while no window is active
    // goes over no window left long ago, nor activates it.
    static const QMetaObject::Connection forget =
        QObject::connect(qApp, &QGuiApplication::focusWindowChanged, qApp, [](QWindow* focused) {
            if (!focused) return;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->windowHandle() == focused && qobject_cast<QMessageBox*>(w)) return;
            owner = nullptr;
        });
    QWidget* active = QApplication::activeWindow();
    if (active && !qobject_cast<QMessageBox*>(active)) owner = active;
    return owner && owner->isVisible() ? owner.data() : nullptr;
}

int Ask(QMessageBox& box) {
    const QPointer<QWidget> owner = MessageOwner();
    box.exec();
    if (owner && owner->isVisible() && owner != QApplication::activeWindow()) owner->activateWindow();
    QAbstractButton* clicked = box.clickedButton();
    return clicked ? AnswerOf(box.standardButton(clicked)) : kCancel;
}

void QtUi::Beep() { QApplication::beep(); }

void QtUi::SetStatus(const std::string& text, bool visible) {
    if (sink_) sink_->ShowStatus(text, visible);
}

void QtUi::SetBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++busyDepth_;
    } else if (busyDepth_ > 0) {
        QApplication::restoreOverrideCursor();
        --busyDepth_;
    }
}

void QtUi::DoEvents() { QCoreApplication::processEvents(); }

std::optional<FileChoice> QtUi::ChooseFile(const FileRequest& request, bool save) {
    QFileDialog dialog(Parent(), Q(request.title));
    dialog.setNameFilter(QtFilter(request.filter));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    std::string ext = request.defaultExt;
    if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
    if (!ext.empty()) dialog.setDefaultSuffix(Q(ext));
    if (!request.initialDir.empty()) dialog.setDirectory(Q(request.initialDir));
    if (!request.fileName.empty()) {
        const QFileInfo proposed(Q(request.fileName));
        if (proposed.isAbsolute()) dialog.setDirectory(proposed.absolutePath());
        // A pattern ("*.CRF") only chooses the folder; a name is proposed.
        if (!proposed.fileName().contains('*')) dialog.selectFile(proposed.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const QString path = QDir::toNativeSeparators(dialog.selectedFiles().front());
    return FileChoice{S(path), S(QFileInfo(path).fileName())};
}

std::optional<FileChoice> QtUi::ChooseSaveFile(const FileRequest& request) { return ChooseFile(request, true); }
std::optional<FileChoice> QtUi::ChooseOpenFile(const FileRequest& request) { return ChooseFile(request, false); }

void QtUi::RefreshWorksheetWindows() {
    if (sink_) sink_->RefreshWorksheetWindows();
}

void QtUi::ShowReportOpened(const std::string&, const std::string& path) {
    // The main window writes its own caption (it carries the version).
    if (sink_) sink_->ShowReportOpened(path);
}

void QtUi::ShowReportClosed(const std::string&) {
    if (sink_) sink_->ShowReportClosed();
}

void QtUi::CloseReportWindows() {
    if (sink_) sink_->CloseReportWindows();
}

void QtUi::ReportFileReplaced() {
    if (sink_) sink_->ReportFileReplaced();
}

void QtUi::HideNewReportDialog() {
    if (sink_) sink_->HideNewReportDialog();
}

void QtUi::SetMenusEnabled(bool enabled) {
    if (sink_) sink_->EnableMenus(enabled);
}

void QtUi::ShowEditCheckResults() {
    if (sink_) sink_->ShowEditCheckResults();
}

// Kept with the Qt printer rather than here, so the printing that follows
// goes to the printer chosen.
bool QtUi::PrinterSetup(const std::string& title) {
    QPrinter printer;
    const std::string chosen = printer::ChosenPrinterName();
    if (!chosen.empty()) printer.setPrinterName(Q(chosen));
    QPrintDialog dialog(&printer, Parent());
    dialog.setWindowTitle(Q(title));
    ShowChosenFile file(Q(printer::ChosenPdfFile()));
    dialog.installEventFilter(&file);
    if (dialog.exec() != QDialog::Accepted) return false;
    printer::SetChosenPrinterName(S(printer.printerName()));
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
    printer::SetChosenPdfFile(toFile ? S(printer.outputFileName()) : "");
    return true;
}

std::string QtUi::ChosenPrinter() const { return printer::ChosenPrinterName(); }

}  // namespace vt::ui

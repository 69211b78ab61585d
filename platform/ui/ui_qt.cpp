#include "platform/ui/ui_qt.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QWindow>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

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

const QString kPrintToFile = QStringLiteral("Print to File (PDF)");

// The arrow pointer over a dialog shown while the hourglass is up.
class ArrowPointer {
public:
    explicit ArrowPointer(bool busy) : busy_(busy) {
        if (busy_) QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~ArrowPointer() {
        if (busy_) QApplication::restoreOverrideCursor();
    }
    ArrowPointer(const ArrowPointer&) = delete;
    ArrowPointer& operator=(const ArrowPointer&) = delete;

private:
    bool busy_;
};

// OK and Cancel under a dialog's fields.
QDialogButtonBox* AddButtons(QDialog& dialog, QVBoxLayout& layout) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout.addWidget(buttons);
    return buttons;
}

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
    const ArrowPointer arrow(busyDepth_ > 0);
    return Ask(*box);
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

// The printers are asked of the print server as a print asks them, within
// the same limit while the windows paint; a server that does not answer
// leaves the printers known before (and the file), with a word that the
// list could not be read. The choice is kept with the Qt printer, so the
// printing that follows goes where it says.
bool QtUi::PrinterSetup(const std::string& title) {
    static printer::ServerPrinters known;
    std::string why;
    std::optional<printer::ServerPrinters> listed;
    SetBusy(true);
    listed = printer::ListPrinters(why);
    SetBusy(false);
    if (listed) known = *listed;
    QStringList names;
    for (const auto& name : known.names) names << Q(name);
    const QString chosen = Q(printer::ChosenPrinterName());
    if (!listed && !chosen.isEmpty() && !names.contains(chosen)) names << chosen;

    QDialog dialog(Parent());
    dialog.setObjectName(QStringLiteral("PrinterSetup"));
    dialog.setWindowTitle(Q(title));
    auto* layout = new QVBoxLayout(&dialog);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    auto* printers = new QComboBox(&dialog);
    printers->setObjectName(QStringLiteral("printers"));
    printers->addItems(names);
    printers->addItem(kPrintToFile);
    form->addRow(QStringLiteral("&Printer:"), printers);
    auto* fileRow = new QHBoxLayout;
    auto* file = new QLineEdit(Q(printer::ChosenPdfFile()), &dialog);
    file->setObjectName(QStringLiteral("filename"));
    auto* browse = new QPushButton(QStringLiteral("&Browse..."), &dialog);
    browse->setObjectName(QStringLiteral("browse"));
    fileRow->addWidget(file);
    fileRow->addWidget(browse);
    // The row holds the name and its button: the label names the name.
    auto* fileLabel = new QLabel(QStringLiteral("&File:"), &dialog);
    fileLabel->setBuddy(file);
    form->addRow(fileLabel, fileRow);
    auto* copies = new QSpinBox(&dialog);
    copies->setObjectName(QStringLiteral("copies"));
    copies->setRange(1, 999);
    copies->setValue(printer::ChosenCopies());
    form->addRow(QStringLiteral("&Copies:"), copies);
    if (!listed) {
        auto* word = new QLabel(QStringLiteral("The printers could not be listed. ") + Q(why), &dialog);
        word->setObjectName(QStringLiteral("word"));
        word->setWordWrap(true);
        layout->addWidget(word);
    }
    QDialogButtonBox* buttons = AddButtons(dialog, *layout);

    // A file takes one copy of the pages; a printer takes no file name.
    const auto fit = [=] {
        const bool toFile = printers->currentText() == kPrintToFile;
        file->setEnabled(toFile);
        browse->setEnabled(toFile);
        copies->setEnabled(!toFile);
        buttons->button(QDialogButtonBox::Ok)->setEnabled(!toFile || !file->text().trimmed().isEmpty());
    };
    QObject::connect(printers, &QComboBox::currentIndexChanged, &dialog, fit);
    QObject::connect(file, &QLineEdit::textChanged, &dialog, fit);
    QObject::connect(browse, &QPushButton::clicked, &dialog, [file] {
        FileRequest request{"Print to File", ".pdf", "PDF Files (*.pdf)|*.pdf", "", S(file->text()), true};
        if (const auto choice = Ui().ChooseSaveFile(request)) file->setText(Q(choice->path));
    });
    const QString defaultName = Q(known.defaultName);
    if (!file->text().isEmpty()) printers->setCurrentText(kPrintToFile);
    else if (names.contains(chosen)) printers->setCurrentText(chosen);
    else if (names.contains(defaultName)) printers->setCurrentText(defaultName);
    else printers->setCurrentIndex(0);
    fit();

    const ArrowPointer arrow(busyDepth_ > 0);
    if (dialog.exec() != QDialog::Accepted) return false;
    const bool toFile = printers->currentText() == kPrintToFile;
    const QString path = file->text().trimmed();
    if (toFile && path.isEmpty()) return false;
    printer::SetChosenPrinterName(toFile ? "" : S(printers->currentText()));
    printer::SetChosenPdfFile(toFile ? S(path) : "");
    printer::SetChosenCopies(copies->value());
    return true;
}

// Over the window, as any question of the program; the time it is up does
// not count against the print server's patience.
std::optional<Login> QtUi::AskLogin(const LoginRequest& request) {
    QDialog dialog(Parent());
    dialog.setObjectName(QStringLiteral("PrintServerLogin"));
    dialog.setWindowTitle(QStringLiteral("Print Server Login"));
    auto* layout = new QVBoxLayout(&dialog);
    QString text = QStringLiteral("The print server %1 asks who prints on \"%2\".")
                       .arg(Q(request.server), Q(request.printer));
    if (request.refused) text += QStringLiteral("\nThe name and password given were not accepted.");
    auto* said = new QLabel(text, &dialog);
    said->setObjectName(QStringLiteral("said"));
    layout->addWidget(said);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    auto* name = new QLineEdit(Q(request.user), &dialog);
    name->setObjectName(QStringLiteral("name"));
    form->addRow(QStringLiteral("&Name:"), name);
    auto* password = new QLineEdit(&dialog);
    password->setObjectName(QStringLiteral("password"));
    password->setEchoMode(QLineEdit::Password);
    form->addRow(QStringLiteral("&Password:"), password);
    AddButtons(dialog, *layout);
    password->setFocus();

    const ArrowPointer arrow(busyDepth_ > 0);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return Login{S(name->text()), S(password->text())};
}

std::string QtUi::ChosenPrinter() const { return printer::ChosenPrinterName(); }

}  // namespace vt::ui

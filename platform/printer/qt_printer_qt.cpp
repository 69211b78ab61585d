#include "platform/printer/qt_printer.h"

#include "platform/db/db.h"
#include "platform/printer/print_server.h"
#include "platform/printer/replaced_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QStringList>
#include <QTemporaryFile>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>
#include <system_error>
#include <utility>

namespace vt::printer {
namespace {

// Narrow enough that a portrait line of 138 characters at 7 points (580 pt)
// fits the 612 pt width of Letter paper.
constexpr double kMarginPt = 14;

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
std::string S(const QString& s) { return s.toUtf8().toStdString(); }

QPageLayout::Orientation PageOrientation(int o) { return o == 1 ? QPageLayout::Portrait : QPageLayout::Landscape; }

std::string& ChosenName() {
    static std::string name;
    return name;
}

std::string& ChosenPdf() {
    static std::string path;
    return path;
}

int chosenCopies = 1;

// While the print server is asked, the windows repaint; what the user types
// waits for the print to end.
void KeepPainting() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

// A copy made as a new file of the user's, readable as the print files are
// (QFile::copy would keep the private mode of the passing file), in the place
// of the earlier one only once whole.
bool CopyAsNewFile(const QString& from, const std::string& to) {
    QFile in(from), out;
    ReplacedFile file;
    if (!in.open(QIODevice::ReadOnly)) return false;
    const int fd = file.Open(to);
    if (fd < 0) return false;
    if (!out.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    while (!in.atEnd()) {
        const QByteArray piece = in.read(1 << 20);
        if (piece.isEmpty() || out.write(piece) != piece.size()) return false;
    }
    if (!out.flush()) return false;
    out.close();
    return file.Publish();
}

// Why a file could not be opened for writing, or its pages not written, in
// the words the report's own files use ("the folder does not exist").
std::string WriteReason(int error, const std::string& path = "") {
    return db::SystemReason(std::error_code(error, std::generic_category()), path);
}
std::string WriteReason(const QFile& file) {
    return WriteReason(file.error() == QFileDevice::ResourceError ? ENOSPC : EIO);
}

}  // namespace

struct QtPrinter::Impl {
    Target target;
    int orientation = 1;
    std::string fontName = "Liberation Mono";
    double fontSize = 10;
    bool bold = false;
    int quality = -4;
    std::string printFile;
    std::string output;       // where the document went: the printer's name, or the PDF
    std::string printerName;  // the printer the document is for; "" when it is a file
    std::string pdfFile;      // the PDF being written (a passing one when it is for a printer)
    bool fallback = false;    // the PDF stands in for a printer
    std::string noPrinter;    // why it does, when for want of a printer
    std::string missed;       // the printer it stands in for, when one was known
    std::string silence;      // the server said nothing: told when the document ends
    // Asked when the document starts and when it is sent: one patience for both.
    std::unique_ptr<PrintServer> server;
    // The login of the print command: a batch's documents, else this one.
    CommandLogin login;
    QStringList families;
    bool familiesRead = false;

    std::unique_ptr<QFile> file;  // the PDF's own handle, so a refusal of the system can be told why
    ReplacedFile beside;          // the PDF beside the print file, in the earlier one's place once whole
    std::unique_ptr<QPdfWriter> writer;
    bool batch = false;  // between BeginBatch and EndBatch
    bool held = false;   // the document holds a finished one of the batch and waits for the next
    std::string lost;    // why the batch's joined file was given up; its later documents are refused
    QPainter painter;
    bool pagePending = false;  // NewPage asked for; made when the next line comes
    bool fontDirty = true;
    int pageLines = 0;         // lines of the page being printed, 0 when not known
    double y = 0;              // top of the next line, device pixels from the printable top
    double ascent = 0, pitch = 0, pageHeight = 0;

    explicit Impl(Target t) : target(t) {}

    bool Active() const { return painter.isActive(); }

    std::string BesideThePrintFile() const {
        if (printFile.empty()) return S(QDir(QDir::tempPath()).filePath("Vantrel print.pdf"));
        const QFileInfo info(Q(printFile));
        return S(info.dir().filePath(info.completeBaseName() + ".pdf"));
    }

    // The PDF is drawn with no print server involved; only a document for a
    // printer then asks the server, and never for longer than its patience.
    void ChooseOutput() {
        printerName.clear();
        silence.clear();
        noPrinter.clear();
        missed.clear();
        fallback = false;
        if (target == Target::Pdf) {
            pdfFile = BesideThePrintFile();
            return;
        }
        if (!ChosenPdf().empty()) {
            // The user's own choice: no printer is asked for.
            pdfFile = ChosenPdf();
            return;
        }
        server = std::make_unique<PrintServer>(kServerPatience, KeepPainting);
        if (!batch) login = {};
        server->ShareLogin(&login);
        const auto printers = server->Printers();
        if (printers) printerName = PrinterToUse(ChosenName(), printers->names, printers->defaultName);
        else silence = server->SilenceText();
        if (printerName.empty()) {
            // Printers without a default one: the user is to choose one.
            noPrinter = printers && !printers->names.empty()
                            ? "No default printer is chosen (choose one in Report > Printer Setup)"
                            : "";
            pdfFile = BesideThePrintFile();
            fallback = true;
            missed = ChosenName();
            return;
        }
        QTemporaryFile passing(QDir(QDir::tempPath()).filePath("vantrel-XXXXXX.pdf"));
        passing.setAutoRemove(false);
        if (!passing.open()) throw std::runtime_error("Unable to write the pages for " + printerName);
        pdfFile = S(passing.fileName());
    }

    // The file chosen for every print joins a batch's documents into one.
    bool Joins() const { return batch && printerName.empty() && !ChosenPdf().empty() && pdfFile == ChosenPdf(); }

    void Start() {
        ChooseOutput();
        output = printerName.empty() ? pdfFile : printerName;
        if (Joins() && !lost.empty()) throw std::runtime_error(lost);
        // The file chosen in Printer Setup is the user's own, and the passing
        // one for a printer no one else's: both are written where they are.
        const int fd = pdfFile == BesideThePrintFile()
                           ? beside.Open(pdfFile)
                           : ::open(pdfFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd < 0) {
            const std::string why = WriteReason(errno, pdfFile);
            if (!printerName.empty()) QFile::remove(Q(pdfFile));
            throw std::runtime_error("Unable to start printing to " + output + ": " + why + ".");
        }
        file = std::make_unique<QFile>();
        if (!file->open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
            ::close(fd);
            beside.Abandon();
            throw std::runtime_error("Unable to start printing to " + output + ": " + WriteReason(*file) + ".");
        }
        writer = std::make_unique<QPdfWriter>(file.get());
        // The resolutions a printer's own PDF would have: high or plain.
        writer->setResolution(quality == -4 ? 1200 : 72);
        writer->setCreator(QStringLiteral("Vantrel 287"));
        if (!printFile.empty()) writer->setTitle(QFileInfo(Q(printFile)).fileName());
        writer->setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), PageOrientation(orientation),
                                          QMarginsF(kMarginPt, kMarginPt, kMarginPt, kMarginPt),
                                          QPageLayout::Point));
        if (!painter.begin(writer.get())) {
            Finish();
            Discard();
            throw std::runtime_error("Unable to start printing to " + output);
        }
        StartPage();
    }

    void StartPage() {
        y = 0;
        pageHeight = writer->pageLayout().paintRectPixels(writer->resolution()).height();
        fontDirty = true;
    }

    void NextPage() {
        writer->setPageOrientation(PageOrientation(orientation));
        if (!writer->newPage()) {
            // A full disk shows first as a page the PDF writer cannot begin.
            const std::string why = WriteFailure();
            if (why.empty()) throw std::runtime_error("The printer refused a new page");
            throw std::runtime_error("Unable to print to " + output + ": " + why + ".");
        }
        StartPage();
    }

    void ApplyFont() {
        QFont font(Q(fontName));
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
        font.setPointSizeF(fontSize);
        font.setBold(bold);
        painter.setFont(font);
        const QFontMetricsF metrics(font, writer.get());
        // Pages of the longest worksheets must fit, so the line pitch closes
        // up a little where the font's own spacing would overflow the page.
        const int lines7 = orientation == 1 ? kPortraitLines : kLandscapeLines;
        const double capacity = std::max(lines7 * 7.0 / std::max(fontSize, 1.0), static_cast<double>(pageLines));
        pitch = std::min(metrics.lineSpacing(), pageHeight / capacity);
        ascent = metrics.ascent() * pitch / metrics.lineSpacing();
        fontDirty = false;
    }

    // The drawn pages go to the printer; one that does not take them, or a
    // server that does not answer, leaves them in the PDF beside the print
    // file, and the user is told why and where.
    void Deliver() {
        std::string why = silence;
        if (!printerName.empty()) {
            const std::string refusal = server->PrintPdf(printerName, pdfFile, Title(), chosenCopies);
            const QString passing = Q(pdfFile);
            if (refusal.empty()) {
                QFile::remove(passing);
                return;
            }
            why = "The printer \"" + printerName + "\" did not take the pages: " + refusal;
            missed = printerName;
            pdfFile = BesideThePrintFile();
            const bool kept = CopyAsNewFile(passing, pdfFile);
            QFile::remove(passing);
            printerName.clear();
            fallback = true;
            output = pdfFile;
            if (!kept) {
                output.clear();
                throw std::runtime_error(why + "\nThe pages could not be written to the file \"" + pdfFile + "\".");
            }
        }
        if (!why.empty()) throw std::runtime_error(why + "\nThe pages were written to the file \"" + pdfFile + "\".");
    }

    std::string Title() const { return printFile.empty() ? "Vantrel" : S(QFileInfo(Q(printFile)).fileName()); }

    // The pages written so far reached the disk; else why not.
    std::string WriteFailure() {
        if (file->flush() && file->error() == QFileDevice::NoError) return "";
        return WriteReason(*file);
    }

    // A PDF cut short is no print: a new one beside the print file goes and
    // the earlier one stays; one written in place goes.
    void Discard() {
        if (beside.InPlace()) QFile::remove(Q(pdfFile));
        beside.Abandon();
    }

    void Finish() {
        writer.reset();
        file.reset();
        pagePending = false;
        held = false;
    }
};

void SetChosenPrinterName(const std::string& name) { ChosenName() = name; }
std::string ChosenPrinterName() { return ChosenName(); }
void SetChosenPdfFile(const std::string& path) { ChosenPdf() = path; }
std::string ChosenPdfFile() { return ChosenPdf(); }
void SetChosenCopies(int copies) { chosenCopies = std::max(copies, 1); }
int ChosenCopies() { return chosenCopies; }

std::optional<ServerPrinters> ListPrinters(std::string& why) {
    PrintServer server(QtPrinter::kServerPatience, KeepPainting);
    auto printers = server.Printers();
    if (!printers) why = server.SilenceText();
    return printers;
}

std::string PrinterToUse(const std::string& chosen, const std::vector<std::string>& available,
                         const std::string& systemDefault) {
    if (!chosen.empty() && std::find(available.begin(), available.end(), chosen) != available.end()) return chosen;
    return systemDefault;
}

QtPrinter::QtPrinter(Target target) : d_(std::make_unique<Impl>(target)) {}

QtPrinter::~QtPrinter() {
    if (d_->Active()) Abort();
}

int QtPrinter::Orientation() { return d_->orientation; }
void QtPrinter::SetOrientation(int orientation) { d_->orientation = orientation == 1 ? 1 : 2; }
std::string QtPrinter::FontName() { return d_->fontName; }

void QtPrinter::SetFontName(const std::string& name) {
    d_->fontName = name;
    d_->fontDirty = true;
}

int QtPrinter::FontCount() {
    if (!d_->familiesRead) {
        d_->families = QFontDatabase::families();
        d_->familiesRead = true;
    }
    return static_cast<int>(d_->families.size());
}

std::string QtPrinter::Font(int index) {
    FontCount();
    if (index < 0 || index >= d_->families.size()) throw std::out_of_range("No font number " + std::to_string(index));
    return S(d_->families.at(index));
}

void QtPrinter::SetFontSize(double points) {
    d_->fontSize = points;
    d_->fontDirty = true;
}

void QtPrinter::SetFontBold(bool bold) {
    d_->bold = bold;
    d_->fontDirty = true;
}

void QtPrinter::SetPrintQuality(int quality) { d_->quality = quality; }

void QtPrinter::BeginDocument(const std::string& printFilePath) {
    if (d_->Active()) EndDoc();
    d_->printFile = printFilePath;
}

void QtPrinter::SetPageLines(int lines) {
    d_->pageLines = lines;
    d_->fontDirty = true;
}

void QtPrinter::PrintLine(const std::string& text) {
    auto& d = *d_;
    if (!d.Active()) d.Start();
    if (d.pagePending) {
        d.pagePending = false;
        d.NextPage();
    }
    if (d.fontDirty) d.ApplyFont();
    // A page of unknown length written longer than it can hold goes on over
    // the next page.
    if (d.y > 0 && d.y + d.pitch > d.pageHeight + 0.5) {
        d.NextPage();
        d.ApplyFont();
    }
    if (!text.empty()) d.painter.drawText(QPointF(0, d.y + d.ascent), Q(text));
    d.y += d.pitch;
}

void QtPrinter::NewPage() {
    if (!d_->Active()) d_->Start();
    // Made with the next line, so an orientation set in between applies to it.
    d_->pagePending = true;
}

void QtPrinter::EndDoc() {
    auto& d = *d_;
    if (!d.Active()) return;
    if (d.Joins()) {
        // Kept open for the batch's next document, which starts a page of its
        // own; a disk that is full is told with the document that filled it.
        if (const std::string why = d.WriteFailure(); !why.empty())
            throw std::runtime_error("Unable to print to " + d.output + ": " + why + ".");
        d.held = true;
        d.pagePending = true;
        return;
    }
    std::string why = d.painter.end() ? d.WriteFailure() : "the pages could not be written";
    d.Finish();
    if (why.empty() && !d.beside.Publish()) why = WriteReason(errno, d.pdfFile);
    if (!why.empty()) {
        // A file cut short is no print: it goes, as an aborted one does.
        d.Discard();
        throw std::runtime_error("Unable to finish printing to " + d.output + ": " + why + ".");
    }
    d.Deliver();
}

void QtPrinter::Abort() {
    auto& d = *d_;
    if (!d.Active()) return;
    // The batch's earlier documents go with the file; so do its later ones,
    // rather than leave a file that lacks the first.
    if (d.held) d.lost = "The pages printed before to " + d.output + " were lost with a failure; the file was removed.";
    d.painter.end();
    d.Discard();
    d.output.clear();
    d.printerName.clear();
    d.fallback = false;
    d.Finish();
}

std::string QtPrinter::LastOutput() { return d_->output; }

std::string QtPrinter::PrinterReached() { return d_->printerName; }

std::string QtPrinter::FallbackOutput() { return d_->fallback ? d_->output : ""; }

std::string QtPrinter::PrinterMissed() { return d_->fallback ? d_->missed : ""; }

std::string QtPrinter::NoPrinterReason() {
    return d_->noPrinter.empty() ? Printer::NoPrinterReason() : d_->noPrinter;
}

void QtPrinter::BeginBatch() {
    d_->batch = true;
    d_->lost.clear();
    d_->login = {};
}

void QtPrinter::EndBatch() {
    auto& d = *d_;
    d.batch = false;
    d.login = {};
    const std::string lost = std::exchange(d.lost, "");
    if (d.held) EndDoc();
    if (!lost.empty()) throw std::runtime_error(lost);
}

bool QtPrinter::DocumentHeld() { return d_->held && d_->Active(); }

}  // namespace vt::printer

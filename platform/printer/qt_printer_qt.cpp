#include "platform/printer/qt_printer.h"

#include "platform/printer/print_server.h"

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

#include <algorithm>
#include <stdexcept>

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
// (QFile::copy would keep the private mode of the passing file).
bool CopyAsNewFile(const QString& from, const QString& to) {
    QFile in(from), out(to);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    while (!in.atEnd()) {
        const QByteArray piece = in.read(1 << 20);
        if (piece.isEmpty() || out.write(piece) != piece.size()) return false;
    }
    return out.flush();
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
    std::string silence;      // the server said nothing: told when the document ends
    // Asked when the document starts and when it is sent: one patience for both.
    std::unique_ptr<PrintServer> server;
    QStringList families;
    bool familiesRead = false;

    std::unique_ptr<QPdfWriter> writer;
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
            return;
        }
        QTemporaryFile passing(QDir(QDir::tempPath()).filePath("vantrel-XXXXXX.pdf"));
        passing.setAutoRemove(false);
        if (!passing.open()) throw std::runtime_error("Unable to write the pages for " + printerName);
        pdfFile = S(passing.fileName());
    }

    void Start() {
        ChooseOutput();
        output = printerName.empty() ? pdfFile : printerName;
        writer = std::make_unique<QPdfWriter>(Q(pdfFile));
        // The resolutions a printer's own PDF would have: high or plain.
        writer->setResolution(quality == -4 ? 1200 : 72);
        writer->setCreator(QStringLiteral("Vantrel 287"));
        if (!printFile.empty()) writer->setTitle(QFileInfo(Q(printFile)).fileName());
        writer->setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), PageOrientation(orientation),
                                          QMarginsF(kMarginPt, kMarginPt, kMarginPt, kMarginPt),
                                          QPageLayout::Point));
        if (!painter.begin(writer.get())) {
            writer.reset();
            if (!printerName.empty()) QFile::remove(Q(pdfFile));
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
        if (!writer->newPage()) throw std::runtime_error("The printer refused a new page");
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
            pdfFile = BesideThePrintFile();
            QFile::remove(Q(pdfFile));
            const bool kept = CopyAsNewFile(passing, Q(pdfFile));
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

    void Finish() {
        writer.reset();
        pagePending = false;
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
    const bool ok = d.painter.end();
    d.Finish();
    if (!ok) {
        if (!d.printerName.empty()) QFile::remove(Q(d.pdfFile));
        throw std::runtime_error("Unable to finish printing to " + d.output);
    }
    d.Deliver();
}

void QtPrinter::Abort() {
    auto& d = *d_;
    if (!d.Active()) return;
    d.painter.end();
    QFile::remove(Q(d.pdfFile));
    d.output.clear();
    d.printerName.clear();
    d.fallback = false;
    d.Finish();
}

std::string QtPrinter::LastOutput() { return d_->output; }

std::string QtPrinter::PrinterReached() { return d_->printerName; }

std::string QtPrinter::FallbackOutput() { return d_->fallback ? d_->output : ""; }

std::string QtPrinter::NoPrinterReason() {
    return d_->noPrinter.empty() ? Printer::NoPrinterReason() : d_->noPrinter;
}

}  // namespace vt::printer

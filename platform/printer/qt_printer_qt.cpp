#include "platform/printer/qt_printer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStringList>

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

std::string SystemPrinterToUse() {
    std::vector<std::string> available;
    for (const QString& name : QPrinterInfo::availablePrinterNames()) available.push_back(S(name));
    return PrinterToUse(ChosenName(), available, S(QPrinterInfo::defaultPrinterName()));
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
    std::string output;
    bool outputIsPdf = false;
    QStringList families;
    bool familiesRead = false;

    std::unique_ptr<QPrinter> printer;
    QPainter painter;
    bool pagePending = false;  // NewPage asked for; made when the next line comes
    bool fontDirty = true;
    int pageLines = 0;         // lines of the page being printed, 0 when not known
    double y = 0;              // top of the next line, device pixels from the printable top
    double ascent = 0, pitch = 0, pageHeight = 0;

    explicit Impl(Target t) : target(t) {}

    bool Active() const { return painter.isActive(); }

    QString PdfPath() const {
        if (target == Target::DefaultPrinter && !ChosenPdf().empty()) return Q(ChosenPdf());
        if (printFile.empty()) return QDir(QDir::tempPath()).filePath("Vantrel print.pdf");
        const QFileInfo info(Q(printFile));
        return info.dir().filePath(info.completeBaseName() + ".pdf");
    }

    void Start() {
        printer = std::make_unique<QPrinter>(quality == -4 ? QPrinter::HighResolution : QPrinter::PrinterResolution);
        const std::string name = target == Target::Pdf ? "" : SystemPrinterToUse();
        outputIsPdf = name.empty();
        if (outputIsPdf) {
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(PdfPath());
            output = S(PdfPath());
        } else {
            printer->setPrinterName(Q(name));
            output = name;
        }
        if (!printFile.empty()) printer->setDocName(QFileInfo(Q(printFile)).fileName());
        printer->setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), PageOrientation(orientation),
                                           QMarginsF(kMarginPt, kMarginPt, kMarginPt, kMarginPt),
                                           QPageLayout::Point));
        if (!painter.begin(printer.get())) {
            printer.reset();
            throw std::runtime_error("Unable to start printing to " + output);
        }
        StartPage();
    }

    void StartPage() {
        y = 0;
        pageHeight = printer->pageLayout().paintRectPixels(printer->resolution()).height();
        fontDirty = true;
    }

    void NextPage() {
        printer->setPageOrientation(PageOrientation(orientation));
        if (!printer->newPage()) throw std::runtime_error("The printer refused a new page");
        StartPage();
    }

    void ApplyFont() {
        QFont font(Q(fontName));
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
        font.setPointSizeF(fontSize);
        font.setBold(bold);
        painter.setFont(font);
        const QFontMetricsF metrics(font, printer.get());
        // Pages of the longest worksheets must fit, so the line pitch closes
        // up a little where the font's own spacing would overflow the page.
        const int lines7 = orientation == 1 ? kPortraitLines : kLandscapeLines;
        const double capacity = std::max(lines7 * 7.0 / std::max(fontSize, 1.0), static_cast<double>(pageLines));
        pitch = std::min(metrics.lineSpacing(), pageHeight / capacity);
        ascent = metrics.ascent() * pitch / metrics.lineSpacing();
        fontDirty = false;
    }

    void Finish() {
        printer.reset();
        pagePending = false;
    }
};

void SetChosenPrinterName(const std::string& name) { ChosenName() = name; }
std::string ChosenPrinterName() { return ChosenName(); }
void SetChosenPdfFile(const std::string& path) { ChosenPdf() = path; }

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
    if (!ok) throw std::runtime_error("Unable to finish printing to " + d.output);
}

void QtPrinter::Abort() {
    auto& d = *d_;
    if (!d.Active()) return;
    if (!d.outputIsPdf) d.printer->abort();
    d.painter.end();
    if (d.outputIsPdf) QFile::remove(Q(d.output));
    d.output.clear();
    d.Finish();
}

std::string QtPrinter::LastOutput() { return d_->output; }

std::string QtPrinter::FallbackOutput() {
    return d_->target == Target::DefaultPrinter && d_->outputIsPdf ? d_->output : "";
}

}  // namespace vt::printer

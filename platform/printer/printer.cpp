#include "platform/printer/printer.h"

namespace vt::printer {
namespace {

class NoPrinter : public Printer {
public:
    int Orientation() override { return 0; }
    void SetOrientation(int) override {}
    std::string FontName() override { return ""; }
    void SetFontName(const std::string&) override {}
    int FontCount() override { return 0; }
    std::string Font(int) override { return ""; }
    void SetFontSize(double) override {}
    void SetFontBold(bool) override {}
    void SetPrintQuality(int) override {}
    void PrintLine(const std::string&) override {}
    void NewPage() override {}
    void EndDoc() override {}
};

NoPrinter none;
Printer* installed = nullptr;

}  // namespace

Printer& ThePrinter() { return installed ? *installed : none; }
void InstallPrinter(Printer* p) { installed = p; }

}  // namespace vt::printer

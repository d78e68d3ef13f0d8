// A stored document as the reference windows load it: the record, then the
// document view's own checks (UTF-8 text, rich text laid out at the page's
// width, every figure it names among the resources), then one paint. Any
// fault must come out as EStreamError, which ends the start-up with its
// message; nothing else may escape and nothing may crash.

#include "plot/fonts.h"
#include "reference/reference_record.h"
#include "ui/reference_view.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <cstdlib>

namespace {

// The widest and tallest of the twelve pages, so that every figure is drawn.
constexpr QSize kPage(585, 986);

} // namespace

// Fontconfig keeps its pattern caches to the end of the process without a
// pointer the leak check can follow; they are not the document's.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Kept to the end of the process, never destroyed: what Qt caches stays
    // reachable, so the leak check at exit sees only what a run lost.
    new QApplication(*argc, *argv);
    RegisterFontSubstitutions();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray record(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        ReferenceView view(record, kPage);
        if (view.size() != kPage || view.contentHeight() < 0)
            std::abort();
        QImage page(kPage, QImage::Format_RGB32);
        view.render(&page);
    } catch (const EStreamError&) {
    }
    return 0;
}

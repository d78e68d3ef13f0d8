#include "tools/linecode/handout.h"

#include "plot/fonts.h"
#include "tools/linecode/figure_object.h"
#include "tools/linecode/linecode_commands.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using Args = std::span<const std::string_view>;

// The text is laid out in the pixels of its style sheet, 96 to the inch, as
// the reference pages are on screen, and scaled onto the printer's dots.
constexpr double kTextDpi = 96;
constexpr int kPrintDpi = 600;
// Room under each page's text for its number.
constexpr double kFooter = 28;

constexpr auto kStyleSheet = R"(
p { margin-top: 0px; margin-bottom: 5px; }
p.section { font-size: 21px; font-weight: bold; color: #14306e; margin-top: 14px; margin-bottom: 8px; }
p.sub { font-size: 17px; font-weight: bold; color: #14306e; margin-top: 12px; margin-bottom: 5px; }
p.h2 { font-size: 15px; font-weight: bold; color: #14306e; margin-top: 6px; margin-bottom: 2px; }
p.caption { font-size: 12px; font-style: italic; color: #333333; margin-bottom: 8px; }
p.formula { font-size: 15px; margin-top: 3px; margin-bottom: 5px; }
p.titletop { font-size: 16px; margin-top: 40px; }
p.titlegap { font-size: 18px; margin-top: 60px; }
p.title { font-size: 30px; font-weight: bold; color: #14306e; margin-top: 16px; }
p.titlesub { font-size: 20px; margin-top: 20px; }
p.titlenote { font-size: 13px; font-style: italic; margin-top: 60px; }
ul, ol { margin-top: 0px; margin-bottom: 5px; -qt-list-indent: 1; }
li { margin-bottom: 2px; }
table.grid td { font-size: 11px; }
table.grid th { font-size: 11px; background-color: #e8ecf4; }
td { padding: 2px; }
th { padding: 2px; background-color: #e8ecf4; }
)";

// Replaces each image the text names "handout:N" by the figure object N.
void PlaceFigures(QTextDocument& doc) {
    std::vector<std::pair<int, int>> found; // position, figure
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (!format.isImageFormat())
                continue;
            const QString name = format.toImageFormat().name();
            if (!name.startsWith(QLatin1String("handout:")))
                continue;
            const int figure = name.mid(8).toInt();
            for (int k = 0; k < fragment.length(); ++k)
                found.emplace_back(fragment.position() + k, figure);
        }
    for (auto it = found.rbegin(); it != found.rend(); ++it) {
        QTextCursor cursor(&doc);
        cursor.setPosition(it->first);
        cursor.setPosition(it->first + 1, QTextCursor::KeepAnchor);
        QTextCharFormat format;
        format.setObjectType(kFigureObject);
        format.setProperty(kFigureIndex, it->second);
        cursor.insertText(QString(QChar::ObjectReplacementCharacter), format);
    }
}

std::unique_ptr<QGuiApplication> MakeApplication(int& argc, char** argv) {
    if (QGuiApplication::instance())
        return nullptr;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace

bool IsHandoutCommand(std::string_view name) {
    return name == "handout";
}

int WriteHandoutPdf(const HandoutContent& content, const QString& file) {
    RegisterFontSubstitutions();
    QPdfWriter writer(file);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(20, 15, 15, 12), QPageLayout::Millimeter);
    writer.setResolution(kPrintDpi);
    writer.setTitle(
        QStringLiteral("Исследование линейных кодов ЦСП и ВОСП. Методические указания"));
    writer.setCreator(QStringLiteral("Линейные коды ЦСП и ВОСП"));

    QTextDocument doc;
    QFont body(QStringLiteral("Times New Roman"));
    body.setPixelSize(14);
    // List numbers are drawn in the application's font, not the text's.
    const QFont applicationFont = QGuiApplication::font();
    QGuiApplication::setFont(body);
    doc.setDefaultFont(body);
    doc.setDefaultStyleSheet(QString::fromUtf8(kStyleSheet));
    doc.setDocumentMargin(0);
    doc.setUndoRedoEnabled(false);
    FigureObject figures(content);
    doc.documentLayout()->registerHandler(kFigureObject, &figures);
    doc.setHtml(content.html);
    PlaceFigures(doc);

    const double scale = kPrintDpi / kTextDpi;
    const QRect paint = writer.pageLayout().paintRectPixels(kPrintDpi);
    const QSizeF page(paint.width() / scale, paint.height() / scale - kFooter);
    doc.setPageSize(page);

    QPainter painter;
    if (!painter.begin(&writer))
        throw HandoutError("cannot write " + file.toStdString());
    QFont number(QStringLiteral("Times New Roman"));
    number.setPixelSize(13);
    const int pages = doc.pageCount();
    for (int p = 0; p < pages; ++p) {
        if (p > 0)
            writer.newPage();
        painter.save();
        painter.scale(scale, scale);
        const QRectF area(0, p * page.height(), page.width(), page.height());
        painter.setClipRect(QRectF(QPointF(0, 0), page));
        painter.translate(0, -area.top());
        // A line that starts exactly on the page's lower edge belongs to the
        // next page: the painter's clip would hide it, but its text would
        // still enter this page's text layer.
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = area.adjusted(0, 1, 0, -1);
        doc.documentLayout()->draw(&painter, context);
        painter.restore();
        // The title page goes unnumbered, as a printed guide's does.
        if (p > 0) {
            painter.save();
            painter.scale(scale, scale);
            painter.setFont(number);
            painter.drawText(QRectF(0, page.height() + 6, page.width(), kFooter - 6),
                             Qt::AlignHCenter | Qt::AlignTop, QString::number(p + 1));
            painter.restore();
        }
    }
    painter.end();
    QGuiApplication::setFont(applicationFont);
    return pages;
}

int RunHandoutCommand(int argc, char** argv, Args args, std::ostream& out, std::ostream& err) {
    std::string output;
    std::string resources = LC_RESOURCES_DIR;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string_view a = args[i];
        if (i + 1 >= args.size() || (a != "-o" && a != "--output" && a != "--resources"))
            return UsageError(err, "handout takes -o FILE.pdf and --resources DIR");
        (a == "--resources" ? resources : output) = std::string(args[++i]);
    }
    if (output.empty())
        return UsageError(err, "missing -o FILE.pdf");
    const auto app = MakeApplication(argc, argv);
    try {
        const HandoutContent content = BuildHandoutContent(resources);
        const int pages = WriteHandoutPdf(content, QString::fromStdString(output));
        out << output << ": " << pages << " pages\n";
    } catch (const HandoutError& e) {
        err << "linecode: " << e.what() << '\n';
        QFile::remove(QString::fromStdString(output));
        return kExitUsage;
    }
    return kExitOk;
}

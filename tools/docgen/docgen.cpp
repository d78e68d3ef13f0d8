// Builds the stored reference documents at build time.
//
//   docgen <source folder> <output folder> <document>...
//
// Each document <name>.html of the source folder becomes <name>.bdoc in the
// output folder: the page's rich text, with its {{symbols:...}} filled in
// from the encoders, wrapped in a stored-document record. Every computed
// figure the page names (qrc:/docs/fig/<figure>.svg) is drawn into the
// output's fig/ folder; every drawn picture it names (qrc:/docs/pic/...) must
// exist in the source's pic/ folder. Any fault stops the build.

#include "reference/doc_figures.h"
#include "reference/reference_record.h"

#include <QByteArray>
#include <QRegularExpression>
#include <QString>

#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

void BuildDocument(const fs::path& source, const fs::path& output, const std::string& name,
                   std::set<std::string>& figures) {
    const std::string page = ExpandSymbols(ReadFile(source / (name + ".html")));

    const QString text = QString::fromStdString(page);
    static const QRegularExpression kFigure(QStringLiteral(R"(qrc:/docs/fig/([a-z0-9-]+)\.svg)"));
    for (const QRegularExpressionMatch& m : kFigure.globalMatch(text)) {
        const std::string figure = m.captured(1).toStdString();
        if (figures.insert(figure).second)
            WriteFile(output / "fig" / (figure + ".svg"), FigureSvg(figure));
    }
    static const QRegularExpression kPicture(QStringLiteral(R"(qrc:/docs/pic/([A-Za-z0-9_.-]+))"));
    for (const QRegularExpressionMatch& m : kPicture.globalMatch(text))
        if (!fs::exists(source / "pic" / m.captured(1).toStdString()))
            throw std::runtime_error(name + " names a missing picture " +
                                     m.captured(1).toStdString());
    static const QRegularExpression kOtherImage(
        QStringLiteral(R"(src="(?!qrc:/docs/(fig|pic)/)[^"]*")"));
    if (kOtherImage.match(text).hasMatch())
        throw std::runtime_error(name + " names an image outside the document resources");

    const QByteArray record =
        MakeReferenceRecord(QByteArrayView(page.data(), static_cast<qsizetype>(page.size())));
    WriteFile(output / (name + ".bdoc"),
              std::string_view(record.constData(), static_cast<std::size_t>(record.size())));
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr << "usage: docgen <source folder> <output folder> <document>...\n";
        return 2;
    }
    try {
        const fs::path source = argv[1];
        const fs::path output = argv[2];
        fs::create_directories(output / "fig");
        std::set<std::string> figures;
        for (int i = 3; i < argc; ++i)
            BuildDocument(source, output, argv[i], figures);
    } catch (const std::exception& e) {
        std::cerr << "docgen: " << e.what() << '\n';
        return 1;
    }
    return 0;
}

#include "ui/reference_view.h"

#include "reference/reference_record.h"
#include "tests/ui/gui_test_app.h"

#include <QByteArray>

#include <gtest/gtest.h>

#include <string>

namespace {

QApplication& App() {
    return GuiTestApp();
}

} // namespace

TEST(ReferenceView, RefusesDocumentsItCannotShow) {
    App();
    const struct {
        const char* what;
        QByteArray record;
        const char* message;
    } cases[] = {
        {"empty document", MakeReferenceRecord({}), "Stored document is empty"},
        {"not UTF-8", MakeReferenceRecord("<p>\xC3\x28</p>"), "Stored document is not UTF-8 text"},
        {"missing figure", MakeReferenceRecord("<p><img src=\"qrc:/docs/fig/none.svg\"></p>"),
         "Stored document names a missing figure :/docs/fig/none.svg"},
        {"wrong signature", QByteArray("RTF ") + MakeReferenceRecord({}).mid(4),
         "Invalid stream format"},
    };
    for (const auto& c : cases) {
        std::string error = "(accepted)";
        try {
            ReferenceView view(c.record, {200, 100});
        } catch (const EStreamError& e) {
            error = e.what();
        }
        EXPECT_EQ(error, c.message) << c.what;
    }
}

TEST(ReferenceView, ShowsAGoodDocumentAtItsNaturalSize) {
    App();
    ReferenceView view(MakeReferenceRecord("<h1>Заголовок</h1><p>Текст страницы.</p>"), {320, 240});
    EXPECT_EQ(view.size(), QSize(320, 240));
    EXPECT_EQ(view.minimumSize(), view.maximumSize());
    EXPECT_TRUE(view.document().toPlainText().contains(QStringLiteral("Текст страницы.")));
    EXPECT_GT(view.contentHeight(), 20);
    EXPECT_LT(view.contentHeight(), 240);
}

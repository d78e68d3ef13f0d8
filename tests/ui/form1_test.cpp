#include "plot/fonts.h"
#include "tests/ui/gui_test_app.h"
#include "ui/csp.h"
#include "ui/form1.h"
#include "ui/test_window.h"
#include "ui/vosp.h"
#include "ui/window_references.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace {

class Form1Test : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        GuiTestApp();
        RegisterFontSubstitutions();
    }

    void SetUp() override {
        form = std::make_unique<TForm1>();
        csp = std::make_unique<TCSP>();
        vosp = std::make_unique<TVOSP>();
        test = std::make_unique<TTest>();
        Form1 = form.get();
        CSP = csp.get();
        VOSP = vosp.get();
        ::Test = test.get();
        ASSERT_TRUE(folder.isValid());
        previousFolder = QDir::currentPath();
        QDir::setCurrent(folder.path());
        form->show();
    }

    void TearDown() override {
        QDir::setCurrent(previousFolder);
        Form1 = nullptr;
        CSP = nullptr;
        VOSP = nullptr;
        ::Test = nullptr;
    }

    template <class T = QWidget>
    T* Child(const char* name) const {
        T* child = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }

    void WriteData(const QByteArray& bytes) const {
        QFile file(folder.filePath(QStringLiteral("Data001.txt")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    void Click(const char* name) const { QTest::mouseClick(Child(name), Qt::LeftButton); }

    QTemporaryDir folder;
    QString previousFolder;
    std::unique_ptr<TForm1> form;
    std::unique_ptr<TCSP> csp;
    std::unique_ptr<TVOSP> vosp;
    std::unique_ptr<TTest> test;
};

TEST_F(Form1Test, ControlsHaveTheirPlacesTextsFontsAndHints) {
    struct Row {
        const char* name;
        QRect geometry;
        const char* text; // label or button caption; nullptr: not checked
        const char* hint;
        bool visible;
        const char* family;
        int pixels;
        bool bold;
        bool italic;
    };
    const Row rows[] = {
        {"Label1",
         {0, 0, 601, 28},
         "Лабораторная работа",
         "",
         true,
         "Bookman Old Style",
         24,
         true,
         false},
        {"Label2",
         {0, 28, 601, 23},
         "\"Исследование линейных кодов ЦСП и ВОСП\"",
         "",
         true,
         "Bookman Old Style",
         21,
         false,
         true},
        {"Panel1", {0, 56, 601, 329}, nullptr, "", true, "Bookman Old Style", 16, true, false},
        {"Bevel1", {8, 8, 289, 313}, nullptr, "", true, "Bookman Old Style", 16, true, false},
        {"Label4",
         {16, 16, 268, 20},
         "Допуск к работе можно получить",
         "",
         true,
         "Bookman Old Style",
         16,
         false,
         false},
        {"Label5",
         {16, 40, 271, 20},
         "ответив на контрольные вопросы",
         "",
         true,
         "Bookman Old Style",
         16,
         false,
         false},
        {"BitBtn1",
         {32, 160, 241, 25},
         "Исследование кодов ЦСП",
         "",
         true,
         "Bookman Old Style",
         16,
         true,
         false},
        {"BitBtn2",
         {32, 120, 241, 25},
         "Исследование кодов ВОСП",
         "",
         true,
         "Bookman Old Style",
         16,
         true,
         false},
        {"Panel2", {304, 8, 289, 313}, nullptr, "", true, "Bookman Old Style", 16, true, false},
        {"Image1", {0, -8, 297, 321}, nullptr, "", true, "Bookman Old Style", 16, true, false},
        {"Button1",
         {32, 160, 241, 25},
         "Исследование кодов ЦСП",
         "Исследование параметров линейных кодов ЦСП",
         false,
         "Bookman Old Style",
         16,
         true,
         false},
        {"Button2",
         {32, 120, 241, 25},
         "Исследование кодов ВОСП",
         "Исследование параметров линейных кодов ВОСП",
         false,
         "Bookman Old Style",
         16,
         true,
         false},
        {"Button3",
         {32, 200, 241, 25},
         "Информация о программе",
         "Полезная информация о программе и разработчиках",
         true,
         "Bookman Old Style",
         16,
         true,
         false},
        {"Button4",
         {32, 240, 241, 25},
         "Выход из программы",
         "Выход из программы",
         true,
         "Bookman Old Style",
         16,
         true,
         false},
        {"Panel3", {304, 8, 289, 313}, nullptr, "", false, "Bookman Old Style", 16, true, false},
        {"Memo1", {8, 8, 273, 297}, nullptr, "", false, "Times New Roman", 16, false, false},
        {"Button5",
         {32, 80, 243, 25},
         "Контрольные вопросы",
         "",
         true,
         "Bookman Old Style",
         16,
         true,
         false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QWidget* w = Child(row.name);
        ASSERT_NE(w, nullptr);
        // Labels may grow around their designed rectangles to show all of
        // their text in the substituted font.
        if (qobject_cast<QLabel*>(w) != nullptr && QByteArray(row.name) != "Image1") {
            EXPECT_TRUE(w->geometry().contains(row.geometry));
        } else {
            EXPECT_EQ(w->geometry(), row.geometry);
        }
        if (row.text != nullptr) {
            const QString text = qobject_cast<QLabel*>(w) != nullptr
                                     ? qobject_cast<QLabel*>(w)->text()
                                     : qobject_cast<QPushButton*>(w)->text();
            EXPECT_EQ(text, QString::fromUtf8(row.text));
        }
        EXPECT_EQ(w->toolTip(), QString::fromUtf8(row.hint));
        EXPECT_EQ(w->isVisible(), row.visible);
        EXPECT_EQ(w->font().family(), QString::fromLatin1(row.family));
        EXPECT_EQ(w->font().pixelSize(), row.pixels);
        EXPECT_EQ(w->font().bold(), row.bold);
        EXPECT_EQ(w->font().italic(), row.italic);
    }
    auto* credits = Child<QLabel>("Label3");
    EXPECT_EQ(credits->pos(), QPoint(24, 304));
    EXPECT_EQ(credits->font().family(), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(credits->font().pixelSize(), 13);
    EXPECT_FALSE(credits->font().bold());
    EXPECT_TRUE(credits->toolTip().isEmpty());
    EXPECT_EQ(credits->cursor().shape(), Qt::ArrowCursor);
    // The credits line must fit beside the picture.
    EXPECT_LE(credits->x() + credits->sizeHint().width(), 304);
    EXPECT_EQ(Child<QPlainTextEdit>("Memo1")->toPlainText(), QStringLiteral("Memo1"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Лабораторная работа"));
    // Later siblings lie above: the workbench buttons above their placeholders,
    // the information panel above the picture.
    const QObjectList& order = Child("Panel1")->children();
    EXPECT_LT(order.indexOf(Child("BitBtn1")), order.indexOf(Child("Button1")));
    EXPECT_LT(order.indexOf(Child("BitBtn2")), order.indexOf(Child("Button2")));
    EXPECT_LT(order.indexOf(Child("Panel2")), order.indexOf(Child("Panel3")));
}

TEST_F(Form1Test, PictureShowsThe289By313AreaFromRowEight) {
    auto* image = Child<QLabel>("Image1");
    const QPixmap picture = image->pixmap();
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(300, 500));
    EXPECT_EQ(image->alignment() & (Qt::AlignLeft | Qt::AlignTop), Qt::AlignLeft | Qt::AlignTop);
    const QImage shown = Child("Panel2")->grab().toImage();
    const QImage source = picture.toImage();
    // The panel shows the picture unscaled: its pixel (x, y) is the picture's
    // pixel (x, y + 8).
    for (const QPoint p : {QPoint(20, 20), QPoint(150, 150), QPoint(280, 300)})
        EXPECT_EQ(shown.pixelColor(p).rgb(), source.pixelColor(p + QPoint(0, 8)).rgb()) << p.x();
}

TEST_F(Form1Test, FocusStartsOnTheInformationButtonAndTabOrderFollowsTheDesign) {
    EXPECT_EQ(form->focusWidget(), Child("Button3"));
    // Order of the focus chain among the controls that take the focus.
    const char* expected[] = {"Button2", "Button1", "Button3", "Button4",
                              "Memo1",   "Button5", "BitBtn1", "BitBtn2"};
    QStringList chain;
    QWidget* w = Child("Button2");
    for (int i = 0; i < 40 && chain.size() < 8; ++i, w = w->nextInFocusChain()) {
        if (w->focusPolicy() & Qt::TabFocus && !w->objectName().isEmpty() &&
            !w->objectName().startsWith(QLatin1String("qt_")))
            if (!chain.contains(w->objectName()))
                chain << w->objectName();
    }
    QStringList want;
    for (const char* name : expected)
        want << QString::fromLatin1(name);
    EXPECT_EQ(chain, want);
}

TEST_F(Form1Test, PlaceholdersAreInertAndTheCreditsLineRevealsBothWorkbenchButtons) {
    Click("BitBtn1");
    Click("BitBtn2");
    EXPECT_FALSE(Child("Button1")->isVisible());
    EXPECT_FALSE(Child("Button2")->isVisible());
    EXPECT_TRUE(Child("Panel2")->isVisible());
    EXPECT_FALSE(csp->isVisible());
    EXPECT_FALSE(vosp->isVisible());

    for (int click = 0; click < 2; ++click) {
        Click("Label3");
        EXPECT_TRUE(Child("Button1")->isVisible());
        EXPECT_TRUE(Child("Button2")->isVisible());
        EXPECT_TRUE(Child("Panel2")->isVisible());
    }
    // A press on the line that is released elsewhere is no click.
    Form1Test::TearDown();
    SetUp();
    auto* credits = Child("Label3");
    QTest::mousePress(credits, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(credits, Qt::LeftButton, {}, QPoint(5, 40));
    EXPECT_FALSE(Child("Button1")->isVisible());
}

TEST_F(Form1Test, WorkbenchButtonsBringThePictureBackBeforeTheWorkbenchOpens) {
    WriteData("text");
    Click("Label3");
    struct Case {
        const char* button;
        QWidget* workbench;
    };
    for (const Case& c : {Case{"Button1", csp.get()}, Case{"Button2", vosp.get()}}) {
        SCOPED_TRACE(c.button);
        Click("Button3");
        ASSERT_TRUE(Child("Panel3")->isVisible());
        bool opened = false;
        QTimer::singleShot(0, [&] {
            opened = c.workbench->isVisible();
            EXPECT_TRUE(Child("Panel2")->isVisible());
            EXPECT_FALSE(Child("Panel3")->isVisible());
            // The menu below takes no clicks meanwhile.
            Click("Button3");
            EXPECT_TRUE(Child("Panel2")->isVisible());
            c.workbench->close();
        });
        Click(c.button);
        EXPECT_TRUE(opened);
        EXPECT_FALSE(c.workbench->isVisible());
        EXPECT_TRUE(Child("Panel2")->isVisible());
    }
}

TEST_F(Form1Test, QuestionsButtonShowsTheTestAndExitClosesTheWindow) {
    bool opened = false;
    QTimer::singleShot(0, [&] {
        opened = test->isVisible();
        test->close();
    });
    Click("Button5");
    EXPECT_TRUE(opened);
    Click("Button4");
    EXPECT_FALSE(form->isVisible());
}

TEST_F(Form1Test, InformationButtonLoadsTheFileAndReplacesTheMemoOnlyWhenItDiffers) {
    auto* memo = Child<QPlainTextEdit>("Memo1");
    QStringEncoder encoder("windows-1251");
    ASSERT_TRUE(encoder.isValid());
    WriteData(encoder.encode(QStringLiteral("Первая строка\nВторая строка\n")));
    Click("Button3");
    EXPECT_FALSE(Child("Panel2")->isVisible());
    EXPECT_TRUE(Child("Panel3")->isVisible());
    EXPECT_EQ(form->MemoText(), QStringLiteral("Первая строка\r\nВторая строка\r\n"));

    // The same text again leaves the memo alone, cursor and all.
    QTextCursor cursor = memo->textCursor();
    cursor.setPosition(5);
    memo->setTextCursor(cursor);
    QSignalSpy changes(memo, &QPlainTextEdit::textChanged);
    WriteData(encoder.encode(QStringLiteral("Первая строка\r\nВторая строка\r\n")));
    Click("Button3");
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(memo->textCursor().position(), 5);

    // The student's edits are discarded by the next click.
    QTest::keyClicks(memo, QStringLiteral("edit"));
    EXPECT_NE(form->MemoText(), QStringLiteral("Первая строка\r\nВторая строка\r\n"));
    Click("Button3");
    EXPECT_EQ(form->MemoText(), QStringLiteral("Первая строка\r\nВторая строка\r\n"));

    // No-break spaces and tabs count as the same text too.
    WriteData("a\xA0"
              "b\tc\n");
    Click("Button3");
    QSignalSpy again(memo, &QPlainTextEdit::textChanged);
    Click("Button3");
    EXPECT_EQ(again.count(), 0);

    WriteData("");
    Click("Button3");
    EXPECT_TRUE(memo->toPlainText().isEmpty());
}

TEST_F(Form1Test, TitleLinesFollowTheWindowWidthAndTheRestStays) {
    form->resize(800, 500);
    EXPECT_EQ(Child("Label1")->width(), 800);
    EXPECT_EQ(Child("Label2")->width(), 800);
    EXPECT_EQ(Child("Panel1")->geometry(), QRect(0, 56, 601, 329));
    EXPECT_EQ(Child("Button3")->geometry(), QRect(32, 200, 241, 25));
}

// Reading the information file, without the window.
class InformationTextTest : public ::testing::Test {
protected:
    QString Read(const QByteArray& bytes) {
        EXPECT_TRUE(folder.isValid());
        const QString path = folder.filePath(QStringLiteral("Data001.txt"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        return ReadInformationText(path);
    }
    QTemporaryDir folder;
};

TEST_F(InformationTextTest, EveryLineBreakBecomesCrLfAndCodePage1251IsDecoded) {
    struct Case {
        QByteArray file;
        QString text;
    };
    const Case cases[] = {
        {"", ""},
        {"one line", "one line"},
        {"a\r\nb\r\n", "a\r\nb\r\n"},
        {"a\nb\n", "a\r\nb\r\n"},
        {"a\rb\r", "a\r\nb\r\n"},
        {"a\r\rb", "a\r\n\r\nb"},
        {"a\n\rb", "a\r\n\r\nb"},
        {"a\r\n\nb\r", "a\r\n\r\nb\r\n"},
        {"\n", "\r\n"},
        {"\r", "\r\n"},
        // "Код ЦСП" and the ё, № and « » of the code page.
        {"\xCA\xEE\xE4 \xD6\xD1\xCF", QStringLiteral("Код ЦСП")},
        {"\xB8\xB9\xAB\xBB\xA0", QStringLiteral("ё№«»\u00A0")},
        {QByteArray("x\0y", 3), QString::fromUtf16(u"x\0y", 3)},
        // 0x98 is the one byte the code page leaves undefined; it stays the
        // control character of its value, as the system's conversion keeps it.
        {"\xCA\x98\xCA", QString::fromUtf16(u"\u041A\u0098\u041A")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Read(c.file), c.text) << c.file.toStdString();
}

TEST_F(InformationTextTest, MissingUnreadableAndTooLargeFilesAreRefused) {
    const auto message = [](const auto& read) -> std::string {
        try {
            read();
        } catch (const std::runtime_error& e) {
            return e.what();
        }
        return "no error";
    };
    EXPECT_EQ(message([&] { ReadInformationText(folder.filePath(QStringLiteral("none.txt"))); }),
              "Cannot open file " + folder.filePath(QStringLiteral("none.txt")).toStdString());
    // A folder of that name cannot be read as text.
    QDir(folder.path()).mkdir(QStringLiteral("Data001.txt"));
    EXPECT_EQ(message([&] { ReadInformationText(folder.filePath(QStringLiteral("Data001.txt"))); }),
              "Cannot open file " + folder.filePath(QStringLiteral("Data001.txt")).toStdString());
    QDir(folder.path()).rmdir(QStringLiteral("Data001.txt"));

    // Exactly at the capacity fits; one character more does not, and neither
    // does a file whose line breaks grow past it.
    EXPECT_EQ(Read(QByteArray(kMemoCapacity, 'x')).size(), kMemoCapacity);
    EXPECT_EQ(message([&] { Read(QByteArray(kMemoCapacity + 1, 'x')); }),
              "Text exceeds memo capacity");
    EXPECT_EQ(message([&] { Read(QByteArray(kMemoCapacity / 2 + 1, '\n')); }),
              "Text exceeds memo capacity");
    EXPECT_EQ(Read(QByteArray(kMemoCapacity / 2, '\n')).size(), kMemoCapacity);
}

} // namespace

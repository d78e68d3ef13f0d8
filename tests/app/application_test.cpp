#include "app/application.h"
#include "ui/handler_guard.h"
#include "ui/modal.h"

#include <QFileInfo>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

// Records the boxes instead of showing them, for the length of a test.
class RecordedBoxes {
public:
    RecordedBoxes() {
        m_previous = TApplication::Instance()->SetPresenter(
            [this](const MessageBoxContent& box) { boxes.push_back(box); });
    }
    ~RecordedBoxes() { TApplication::Instance()->SetPresenter(m_previous); }
    std::vector<MessageBoxContent> boxes;

private:
    MessageBoxPresenter m_previous;
};

TEST(ErrorBoxText, FullStopOnlyAfterACharacterThatSortsAboveIt) {
    struct Case {
        QString text;
        QString shown;
    };
    const Case cases[] = {
        {"Cannot open file Data001.txt", "Cannot open file Data001.txt."},
        {"Text exceeds memo capacity", "Text exceeds memo capacity."},
        {"ends with a digit 7", "ends with a digit 7."},
        {"already a sentence.", "already a sentence."},
        {"a question?", "a question?."}, // "?" sorts above "."
        {"a slash/", "a slash/."},
        {"a colon:", "a colon:."},
        {"an exclamation!", "an exclamation!"},
        {"a comma,", "a comma,"},
        {"a dash-", "a dash-"},
        {"a bracket)", "a bracket)"},
        {"a space ", "a space "},
        {QStringLiteral("Ошибка чтения"), QStringLiteral("Ошибка чтения.")},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ErrorBoxText(c.text), c.shown) << c.text.toStdString();
}

TEST(ApplicationObject, ErrorEscapingAClickIsShownAndTheProgramGoesOn) {
    RecordedBoxes recorded;
    QWidget window;
    auto* failing = new QPushButton(QStringLiteral("fail"), &window);
    auto* working = new QPushButton(QStringLiteral("work"), &window);
    working->move(0, 40);
    int reached = 0, worked = 0;
    int kind = 0;
    // Connected as the windows connect their handlers.
    QObject::connect(failing, &QPushButton::clicked, Guarded([&] {
                         ++reached; // state the handler reached before failing stays
                         if (kind == 0)
                             throw std::runtime_error("Cannot open file Data001.txt");
                         if (kind == 1)
                             throw std::logic_error("Already said.");
                         throw 42;
                     }));
    QObject::connect(working, &QPushButton::clicked, Guarded([&] { ++worked; }));
    window.show();

    for (kind = 0; kind < 3; ++kind)
        QTest::mouseClick(failing, Qt::LeftButton);
    QTest::mouseClick(working, Qt::LeftButton);

    ASSERT_EQ(recorded.boxes.size(), 3u);
    const QString title = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    for (const MessageBoxContent& box : recorded.boxes)
        EXPECT_EQ(box.caption, title);
    EXPECT_EQ(recorded.boxes[0].text, QStringLiteral("Cannot open file Data001.txt."));
    EXPECT_EQ(recorded.boxes[1].text, QStringLiteral("Already said."));
    EXPECT_EQ(recorded.boxes[2].text, QStringLiteral("Unknown error."));
    EXPECT_EQ(reached, 3);
    EXPECT_EQ(worked, 1);
    // The failed button is not left pressed.
    EXPECT_FALSE(failing->isDown());
}

TEST(ApplicationObject, ErrorEscapingATimerTickIsShownAndTheTimerKeepsTicking) {
    RecordedBoxes recorded;
    QTimer timer;
    int ticks = 0;
    QObject::connect(&timer, &QTimer::timeout, Guarded([&] {
        if (++ticks <= 2)
            throw std::runtime_error("tick failed");
    }));
    timer.start(10);
    QTest::qWait(200);
    timer.stop();
    ASSERT_EQ(recorded.boxes.size(), 2u);
    EXPECT_EQ(recorded.boxes[0].text, QStringLiteral("tick failed."));
    EXPECT_GT(ticks, 2);
}

TEST(ApplicationObject, ErrorInsideAModalWindowLeavesItShownAndUsable) {
    RecordedBoxes recorded;
    QWidget dialog;
    auto* button = new QPushButton(QStringLiteral("fail"), &dialog);
    int clicks = 0;
    QObject::connect(button, &QPushButton::clicked, Guarded([&] {
                         if (++clicks == 1)
                             throw std::runtime_error("first click fails");
                         dialog.close();
                     }));
    QTimer::singleShot(0, [&] {
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_TRUE(dialog.isVisible());
        QTest::mouseClick(button, Qt::LeftButton);
        if (dialog.isVisible()) {
            ADD_FAILURE() << "still shown";
            dialog.close();
        }
    });
    ShowModal(dialog);
    EXPECT_EQ(clicks, 2);
    ASSERT_EQ(recorded.boxes.size(), 1u);
    EXPECT_EQ(recorded.boxes[0].text, QStringLiteral("first click fails."));
}

// An object of no window, whose own event handling fails.
class FailingObject : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User)
            throw std::runtime_error("not guarded");
        return QObject::event(e);
    }
};

TEST(ApplicationObject, AnErrorOutsideTheGuardedHandlersIsStillShown) {
    RecordedBoxes recorded;
    FailingObject object;
    QEvent event(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&object, &event));
    ASSERT_EQ(recorded.boxes.size(), 1u);
    EXPECT_EQ(recorded.boxes[0].text, QStringLiteral("not guarded."));
}

TEST(ApplicationObject, WithoutTheApplicationObjectAGuardedHandlersErrorGoesOn) {
    // Window tests run on a bare application object, which shows no box:
    // there the error reaches the caller.
    const HandlerErrorReporter installed = SetHandlerErrorReporter({});
    const auto handler = Guarded([] { throw std::runtime_error("to the caller"); });
    EXPECT_THROW(handler(), std::runtime_error);
    SetHandlerErrorReporter(installed);
}

} // namespace

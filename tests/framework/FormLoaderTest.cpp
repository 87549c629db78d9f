// Forms built from layout files: properties, anchors, tab order and event
// bindings applied; broken layouts refused at construction; handlers run
// under the exception guard; the destroy event comes before anything of the
// form is released.
#include "framework/Application.h"
#include "framework/Buttons.h"
#include "framework/Forms.h"
#include "framework/Label.h"
#include "tests/support/ModalAnswerer.h"
#include "tests/support/ScopedLocale.h"
#include "framework/TrackBar.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

class TfrmProbe : public TForm {
    Q_OBJECT
public:
    TfrmProbe(QObject* owner, const QString& layout) : TForm(owner, staticMetaObject, layout) {}

    int clicks = 0;
    int changes = 0;
    bool throwOnClick = false;
    std::string note = "kept until the form goes";
    std::string seenAtDestroy;
    QString buttonCaptionAtDestroy;

public Q_SLOTS:
    void btnGoClick(QObject* Sender)
    {
        ++clicks;
        lastSender = Sender;
        if (throwOnClick)
            throw Exception("Could not go");
    }
    void TrackChange(QObject*) { ++changes; }
    void FormDestroy(QObject*)
    {
        seenAtDestroy = note;
        buttonCaptionAtDestroy = Component<TSpeedButton>("btnGo")->Caption();
        if (destroyed != nullptr)
            *destroyed = true;
    }

public:
    QObject* lastSender = nullptr;
    bool* destroyed = nullptr;
};

namespace {

const char* const GoodLayout = R"(object frmProbe: TfrmProbe
  Left = 40
  Top = 30
  ClientWidth = 200
  ClientHeight = 150
  Caption = 'Probe 창'
  Color = 13325825
  Font.Name = 'MS Sans Serif'
  Font.Height = -11
  Font.Color = clWindowText
  OnDestroy = FormDestroy
  object btnGo: TSpeedButton
    Left = 10
    Top = 120
    Width = 50
    Height = 25
    Anchors = [akLeft, akBottom]
    Caption = 'It''s 재생'
    Font.Style = [fsBold]
    OnClick = btnGoClick
  end
  object lblNote: TLabel
    Left = 150
    Top = 5
    Width = 40
    Height = 13
    Anchors = [akTop, akRight]
    Caption = 'Note'
    AutoSize = False
    Font.Color = clWhite
  end
  object Track: TTrackBar
    Left = 10
    Top = 10
    Width = 100
    Height = 20
    Anchors = [akLeft, akTop, akRight]
    Max = 50
    Position = 5
    TabOrder = 1
    OnChange = TrackChange
  end
  object Track2: TTrackBar
    Left = 10
    Top = 40
    Width = 100
    Height = 20
    TabOrder = 0
  end
end
)";

class FormLoader : public ::testing::Test {
protected:
    QString writeLayout(const std::string& text)
    {
        const QString path = dir_.filePath(QString("layout%1.dfm").arg(++count_));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.data(), static_cast<qint64>(text.size()));
        return path;
    }

    std::string constructionError(const std::string& layout)
    {
        try {
            TfrmProbe form(&application_, writeLayout(layout));
        } catch (const Exception& error) {
            return error.Message();
        }
        return "(built)";
    }

    ScopedLocale locale_{Utf8Locale};
    TApplication application_{"/somewhere/kolviplayer"};
    QTemporaryDir dir_;
    int count_ = 0;
};

// CreateForm builds a form from its owner alone; the layout comes from here.
QString CreatedFormLayout;

class TfrmCreated : public TfrmProbe {
public:
    explicit TfrmCreated(QObject* owner) : TfrmProbe(owner, CreatedFormLayout) {}
};

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    text.replace(text.find(from), from.size(), to);
    return text;
}

}  // namespace

TEST_F(FormLoader, AppliesEveryPropertyOfTheLayout)
{
    std::unique_ptr<TfrmProbe, TFormDeleter> form(new TfrmProbe(&application_, writeLayout(GoodLayout)));
    EXPECT_EQ(form->objectName(), "frmProbe");
    EXPECT_EQ(form->Caption(), QString::fromUtf8("Probe 창"));
    EXPECT_EQ(form->pos(), QPoint(40, 30));
    EXPECT_EQ(form->size(), QSize(200, 150));
    EXPECT_EQ(form->palette().color(QPalette::Window), QColor(1, 86, 203));
    EXPECT_EQ(form->font().family(), "MS Sans Serif");
    EXPECT_EQ(form->font().pixelSize(), 11);

    auto* button = form->Component<TSpeedButton>("btnGo");
    EXPECT_EQ(button->geometry(), QRect(10, 120, 50, 25));
    EXPECT_EQ(button->Caption(), QString::fromUtf8("It's 재생"));
    EXPECT_TRUE(button->font().bold());
    EXPECT_EQ(button->font().family(), "MS Sans Serif");
    EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);

    auto* label = form->Component<TLabel>("lblNote");
    EXPECT_EQ(label->geometry(), QRect(150, 5, 40, 13));
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::white));

    auto* track = form->Component<TTrackBar>("Track");
    EXPECT_EQ(track->Max(), 50);
    EXPECT_EQ(track->Position(), 5);
}

TEST_F(FormLoader, FocusStartsAtTheFirstControlInTabOrderAndTabFollowsTabOrder)
{
    std::unique_ptr<TfrmProbe, TFormDeleter> form(new TfrmProbe(&application_, writeLayout(GoodLayout)));
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    auto* track = form->Component<TTrackBar>("Track");
    auto* track2 = form->Component<TTrackBar>("Track2");
    EXPECT_EQ(form->focusWidget(), track2);
    QTest::keyClick(track2, Qt::Key_Tab);
    EXPECT_EQ(form->focusWidget(), track);
    QTest::keyClick(track, Qt::Key_Tab);
    EXPECT_EQ(form->focusWidget(), track2);
    QTest::keyClick(track2, Qt::Key_Backtab);
    EXPECT_EQ(form->focusWidget(), track);
}

TEST_F(FormLoader, AnchorsKeepTheirDistancesWhenTheFormIsResized)
{
    std::unique_ptr<TfrmProbe, TFormDeleter> form(new TfrmProbe(&application_, writeLayout(GoodLayout)));
    form->show();
    form->resize(300, 250);
    EXPECT_EQ(form->Component<TSpeedButton>("btnGo")->geometry(), QRect(10, 220, 50, 25));
    EXPECT_EQ(form->Component<TLabel>("lblNote")->geometry(), QRect(250, 5, 40, 13));
    EXPECT_EQ(form->Component<TTrackBar>("Track")->geometry(), QRect(10, 10, 200, 20));
    EXPECT_EQ(form->Component<TTrackBar>("Track2")->geometry(), QRect(10, 40, 100, 20));
    form->resize(200, 150);
    EXPECT_EQ(form->Component<TSpeedButton>("btnGo")->geometry(), QRect(10, 120, 50, 25));
    EXPECT_EQ(form->Component<TTrackBar>("Track")->geometry(), QRect(10, 10, 100, 20));
}

TEST_F(FormLoader, BindsEventsToHandlersWithTheComponentAsSender)
{
    std::unique_ptr<TfrmProbe, TFormDeleter> form(new TfrmProbe(&application_, writeLayout(GoodLayout)));
    form->show();
    auto* button = form->Component<TSpeedButton>("btnGo");
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(form->clicks, 1);
    EXPECT_EQ(form->lastSender, button);
    // Setting the position while the layout was read fired nothing.
    EXPECT_EQ(form->changes, 0);
    form->Component<TTrackBar>("Track")->SetPosition(7);
    EXPECT_EQ(form->changes, 1);
}

TEST_F(FormLoader, AHandlersExceptionIsShownAndTheNextEventStillRuns)
{
    std::unique_ptr<TfrmProbe, TFormDeleter> form(new TfrmProbe(&application_, writeLayout(GoodLayout)));
    form->show();
    ModalAnswerer answerer;
    answerer.expectMessageBox();
    form->throwOnClick = true;
    QTest::mouseClick(form->Component<TSpeedButton>("btnGo"), Qt::LeftButton);
    form->throwOnClick = false;
    QTest::mouseClick(form->Component<TSpeedButton>("btnGo"), Qt::LeftButton);

    ASSERT_EQ(answerer.messageBoxes().size(), 1u);
    EXPECT_EQ(answerer.messageBoxes().front().text, "Could not go.");
    EXPECT_EQ(answerer.messageBoxes().front().title, "Kolviplayer");
    EXPECT_EQ(form->clicks, 2);
}

TEST_F(FormLoader, TheDestroyEventRunsBeforeFieldsAndComponentsAreReleased)
{
    bool destroyed = false;
    std::string seen;
    QString caption;
    {
        std::unique_ptr<TfrmProbe, TFormDeleter> form(new TfrmProbe(&application_, writeLayout(GoodLayout)));
        form->destroyed = &destroyed;
        form->show();
        // Capture what the handler saw through the form's own fields, read
        // in the handler before anything is released.
        QObject::connect(form.get(), &TForm::OnDestroy, form.get(), [&, f = form.get()] {
            seen = f->seenAtDestroy;
            caption = f->buttonCaptionAtDestroy;
            EXPECT_FALSE(f->isVisible());
        });
    }
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(seen, "kept until the form goes");
    EXPECT_EQ(caption, QString::fromUtf8("It's 재생"));
}

TEST_F(FormLoader, RefusesAMissingLayout)
{
    try {
        TfrmProbe form(&application_, dir_.filePath("absent.dfm"));
        FAIL() << "built without a layout";
    } catch (const Exception& error) {
        EXPECT_NE(error.Message().find("absent.dfm is missing"), std::string::npos) << error.Message();
    }
}

TEST_F(FormLoader, RefusesBrokenLayoutsNamingTheLine)
{
    const std::string good = GoodLayout;
    struct Case {
        std::string layout;
        std::string expected;
    };
    const Case cases[] = {
        {replaced(good, "TfrmProbe", "TfrmOther"), "line 1: the layout is for class TfrmOther, not TfrmProbe"},
        {replaced(good, "TLabel", "TPanel"), "line 22: unknown class TPanel"},
        {replaced(good, "    Max = 50", "    Maximum = 50"), "line 38: Track has no property Maximum"},
        {replaced(good, "OnClick = btnGoClick", "OnClick = btnStopClick"),
         "line 20: frmProbe has no handler btnStopClick(QObject*)"},
        {replaced(good, "OnChange = TrackChange", "OnScroll = TrackChange"), "line 41: Track has no event OnScroll"},
        {replaced(good, "Caption = 'Note'", "Caption = 'Note"), "line 28: unterminated string"},
        {replaced(good, "    Left = 150", "    Left = ,"), "line 23: value expected"},
        {replaced(good, "akTop, akRight", "akTop, akMiddle"), "line 27: unknown anchor akMiddle"},
        {replaced(good, "  object Track2", "  object btnGo"), "line 43: a second component named btnGo"},
        {good.substr(0, good.rfind("end")), "property name expected"},
        {good + "object", "text after the last 'end'"},
        {"", "line 1: 'object' expected"},
    };
    for (const Case& c : cases) {
        const std::string message = constructionError(c.layout);
        EXPECT_NE(message.find(c.expected), std::string::npos) << "expected: " << c.expected << "\ngot: " << message;
    }
}

TEST_F(FormLoader, ClosingTheMainFormEndsTheLoopWhileAnotherFormIsShown)
{
    CreatedFormLayout = writeLayout(GoodLayout);
    TfrmCreated* main = nullptr;
    TfrmCreated* second = nullptr;
    application_.CreateForm(main);
    application_.CreateForm(second);
    EXPECT_EQ(application_.MainForm(), main);
    QTimer::singleShot(0, [&] {
        second->Show();
        QTimer::singleShot(0, [&] { main->close(); });
    });
    application_.Run();
    EXPECT_TRUE(second->isVisible());
    EXPECT_FALSE(main->isVisible());

    // A secondary form that is closed only hides; the loop goes on.
    bool loopEnded = false;
    QTimer::singleShot(0, [&] {
        second->close();
        EXPECT_FALSE(second->isVisible());
        QTimer::singleShot(0, [&] {
            loopEnded = true;
            main->close();
        });
    });
    application_.Run();
    EXPECT_TRUE(loopEnded);
}

#include "FormLoaderTest.moc"

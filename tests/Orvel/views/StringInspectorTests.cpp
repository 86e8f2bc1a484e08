#include "Orvel/views/StringInspector.h"

#include "Orvel/views/AutoGrowTextEdit.h"
#include "Orvel/views/ProblemCallout.h"
#include "tests/Orvel/state/WorkspaceRunFixture.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <functional>

namespace orvel {
namespace {

class StringInspectorTest : public testing::WorkspaceRunTest {
  protected:
    void typeRemark(StringInspector& inspector, const QString& text) {
        QTest::keyClicks(inspector.findChild<AutoGrowTextEdit*>("inspectorRemark"), text);
    }
    // The remarks the model got, by run.
    std::vector<std::string> remarksOf(const std::string& stringID) const {
        std::vector<std::string> remarks;
        for (const auto& call : engine.model->calls()) {
            const auto found = call.feedback.find(stringID);
            remarks.push_back(found == call.feedback.end() ? "<none>" : found->second);
        }
        return remarks;
    }
};

TEST_F(StringInspectorTest, RetranslatesWithTheRemarkAndClearsIt) {
    struct Case {
        const char* name;
        QString remark;
        bool byReturn;
        std::string sent;
    };
    const std::vector<Case> cases = {
        {"button with a remark", "shorter", false, "shorter"},
        {"Return with a remark", "less formal", true, "less formal"},
        {"Return without a remark", "", true, "<none>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TranslatableApp app = appWith({"A", "B"});
        auto workspace = openGerman(app);
        workspace->setSelection({id("A")});
        StringInspector inspector(*workspace);
        typeRemark(inspector, c.remark);
        if (c.byReturn)
            QTest::keyClick(inspector.findChild<AutoGrowTextEdit*>("inspectorRemark"), Qt::Key_Return);
        else
            inspector.findChild<QPushButton*>("inspectorRetranslate")->click();
        EXPECT_EQ(inspector.remark(), "");
        waitForEnd(*workspace);
        // The fixture's model serves every row's run; this row's is the last.
        ASSERT_FALSE(remarksOf(id("A")).empty());
        EXPECT_EQ(remarksOf(id("A")).back(), c.sent);
    }
}

TEST_F(StringInspectorTest, KeepsTheRemarkAcrossASelectionChangeAndRefusesWhileRunning) {
    const TranslatableApp app = appWith({"A", "B"});
    auto workspace = openGerman(app);
    workspace->setSelection({id("A")});
    StringInspector inspector(*workspace);
    typeRemark(inspector, "shorter");
    workspace->setSelection({id("B")});
    EXPECT_EQ(inspector.shownID(), id("B"));
    EXPECT_EQ(inspector.remark(), "shorter");

    workspace->setTranslating(true);
    EXPECT_FALSE(inspector.findChild<QPushButton*>("inspectorRetranslate")->isEnabled());
    QTest::keyClick(inspector.findChild<AutoGrowTextEdit*>("inspectorRemark"), Qt::Key_Return);
    EXPECT_EQ(inspector.remark(), "shorter");
    workspace->setTranslating(false);
    testing::processPendingEvents();
    EXPECT_EQ(runs(), 0u);
}

TEST_F(StringInspectorTest, TheCalloutFixesWithTheProblemAndIsDisabledWhileRunning) {
    const TranslatableApp app = makeApp({{"File", "Open the file now"}});
    auto workspace = openGerman(app, {{"File", testing::translated("Open the file now")}});
    ASSERT_TRUE(testing::processUntil([&] { return workspace->problemsReady(); }));
    workspace->setSelection({id("File")});
    StringInspector inspector(*workspace);
    inspector.show();
    auto* callout = inspector.findChild<ProblemCallout*>();
    ASSERT_TRUE(callout->isVisible());
    const std::optional<std::string> problem = workspace->problem(id("File"));
    ASSERT_TRUE(problem);
    EXPECT_EQ(inspector.findChild<QLabel*>("problemText")->text().toStdString(), *problem);

    workspace->setTranslating(true);
    EXPECT_FALSE(callout->isEnabled());
    workspace->setTranslating(false);
    EXPECT_TRUE(callout->isEnabled());
    inspector.findChild<QPushButton*>("problemFix")->click();
    waitForEnd(*workspace);
    EXPECT_EQ(remarksOf(id("File")), std::vector<std::string>{*problem});
}

TEST_F(StringInspectorTest, EditsThePluralFormsTheLanguageHas) {
    const TranslatableApp app = appWith({"A"});
    StringTranslation stored;
    stored.plural = std::map<std::string, std::string>{{"other", "viele"}};
    auto workspace = openGerman(app, {{"A", stored}});
    workspace->setSelection({id("A")});
    StringInspector inspector(*workspace);
    auto* other = inspector.findChild<AutoGrowTextEdit*>("inspectorPlural_other");
    ASSERT_TRUE(other);
    EXPECT_EQ(other->toPlainText(), "viele");
    auto* one = inspector.findChild<AutoGrowTextEdit*>("inspectorPlural_one");
    ASSERT_TRUE(one);
    QTest::keyClicks(one, "eine");
    ASSERT_TRUE(workspace->translation(id("A")));
    EXPECT_EQ(workspace->translation(id("A"))->plural->at("one"), "eine");
    EXPECT_EQ(one->toPlainText(), "eine");
}

// While the project is being read or handed over, no field the inspector shows takes an edit it could
// not keep, the plural forms' fields included; once the project is there, they take edits again.
TEST_F(StringInspectorTest, FieldsTakeNoEditWithoutAProject) {
    StringTranslation pluralForms;
    pluralForms.plural = std::map<std::string, std::string>{{"other", "viele"}};
    SourceString pluralEnglish = testing::sourceString("A", "%lld files");
    pluralEnglish.plural = std::map<std::string, std::string>{{"one", "%lld file"}, {"other", "%lld files"}};
    struct Case {
        const char* name;
        std::optional<SourceString> english;
        std::optional<StringTranslation> stored;
        // The fields shown with the project, each to the text the project then holds for it.
        std::vector<const char*> fields;
    };
    const std::vector<Case> cases{
        {"an untranslated string", std::nullopt, std::nullopt, {"inspectorTranslation"}},
        {"a translated string", std::nullopt, testing::translated("Öffnen"), {"inspectorTranslation"}},
        {"an English string with plural forms",
         pluralEnglish,
         std::nullopt,
         {"inspectorPlural_one", "inspectorPlural_other"}},
        {"a translation with plural forms",
         std::nullopt,
         pluralForms,
         {"inspectorPlural_one", "inspectorPlural_other"}},
    };
    const auto held = [](const StringTranslation& stored, const std::string& field) {
        const std::string prefix = "inspectorPlural_";
        if (!field.starts_with(prefix))
            return stored.text.value_or("");
        const std::string category = field.substr(prefix.size());
        return stored.plural && stored.plural->contains(category) ? stored.plural->at(category) : "";
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.english)
            engine.scriptedStrings = std::vector<SourceString>{*c.english};
        else
            engine.scriptedStrings.reset();
        const TranslatableApp app = appWith({"A"});
        std::map<std::string, StringTranslation> translations;
        if (c.stored)
            translations.emplace("A", *c.stored);
        auto workspace = openGerman(app, translations);
        const TranslationProject project = *workspace->project();
        workspace->setSelection({id("A")});
        StringInspector inspector(*workspace);
        inspector.show();
        for (const char* name : c.fields) {
            SCOPED_TRACE(name);
            workspace->setProject(std::nullopt);
            const QList<AutoGrowTextEdit*> fields = inspector.findChildren<AutoGrowTextEdit*>();
            for (AutoGrowTextEdit* field : fields) {
                if (!field->isVisible() || field->objectName() == "inspectorRemark")
                    continue;
                SCOPED_TRACE(field->objectName().toStdString());
                EXPECT_TRUE(field->isReadOnly());
                QTest::keyClicks(field, "eine");
                EXPECT_FALSE(field->toPlainText().contains("eine"));
            }

            workspace->setProject(project);
            // Rows that went while the project was away are deleted by now.
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            auto* field = inspector.findChild<AutoGrowTextEdit*>(name);
            ASSERT_TRUE(field);
            ASSERT_TRUE(field->isVisible());
            EXPECT_FALSE(field->isReadOnly());
            QTest::keyClicks(field, "eine");
            ASSERT_TRUE(workspace->translation(id("A")));
            EXPECT_NE(held(*workspace->translation(id("A")), name).find("eine"), std::string::npos);
        }
    }
}

TEST_F(StringInspectorTest, ShowsDataTextsLiterally) {
    const QString markup = QStringLiteral("<b>Save</b> & Quit");
    const TranslatableApp app = makeApp({{"save", markup.toStdString()}});
    auto workspace = openGerman(app);
    workspace->setSelection({id("save")});
    StringInspector inspector(*workspace);
    auto* english = inspector.findChild<QLabel*>("inspectorEnglish");
    EXPECT_EQ(english->text(), markup);
    EXPECT_EQ(english->textFormat(), Qt::PlainText);
    workspace->setSelection({});
    EXPECT_TRUE(inspector.shownID().empty());
}

TEST(ProblemCalloutView, ShowsTheMatchOnlyWhenThereIsOne) {
    struct Case {
        const char* name;
        std::optional<QString> match;
        bool shown;
        QString text;
    };
    const std::vector<Case> cases = {
        {"no match, no gap", std::nullopt, false, ""},
        {"an empty match", QString(), true, QStringLiteral("\u00AB\u00BB")},
        {"markup stays text", QStringLiteral("<b>&"), true, QStringLiteral("\u00AB<b>&\u00BB")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProblemCallout callout;
        callout.showProblem(QStringLiteral("Uses <i>email</i>"), c.match);
        callout.show();
        auto* match = callout.findChild<QLabel*>("problemMatch");
        EXPECT_EQ(match->isVisible(), c.shown);
        if (c.shown) {
            EXPECT_EQ(match->text(), c.text);
        }
        EXPECT_EQ(match->textFormat(), Qt::PlainText);
    }
}

} // namespace
} // namespace orvel

#include "Orvel/views/PlainText.h"

#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <vector>

namespace orvel {
namespace {

const std::vector<QString> kDataTexts{
    "<b>A&B</b>", "Tom & Jerry", "&File", "a && b", "x < y > z", "Line one\nline two", "&lt;b&gt;",
};

TEST(PlainText, LabelsAndMessageBoxesShowDataVerbatim) {
    for (const QString& data : kDataTexts) {
        SCOPED_TRACE(data.toStdString());
        QLabel label;
        setPlainText(&label, data);
        EXPECT_EQ(label.textFormat(), Qt::PlainText);
        EXPECT_EQ(label.text(), data);

        QMessageBox box;
        setPlainMessage(&box, data, data + " (message)");
        EXPECT_EQ(box.text(), data);
        EXPECT_EQ(box.informativeText(), data + " (message)");
        int textLabels = 0;
        for (const QLabel* child : box.findChildren<QLabel*>()) {
            if (child->text().isEmpty())
                continue;
            ++textLabels;
            EXPECT_EQ(child->textFormat(), Qt::PlainText) << child->objectName().toStdString();
        }
        EXPECT_EQ(textLabels, 2);
    }
}

TEST(PlainText, ActionTextsShowEveryAmpersand) {
    for (const QString& data : kDataTexts) {
        SCOPED_TRACE(data.toStdString());
        QAction action(actionText(data));
        // The shown text of an action is its text with mnemonics resolved.
        EXPECT_EQ(action.iconText(), data);
        EXPECT_TRUE(QKeySequence::mnemonic(action.text()).isEmpty());
    }
}

TEST(PlainText, ToolTipsShowDataVerbatim) {
    for (const QString& data : kDataTexts) {
        SCOPED_TRACE(data.toStdString());
        const QString tip = escapedToolTip(data);
        ASSERT_TRUE(Qt::mightBeRichText(tip));
        QTextDocument document;
        document.setHtml(tip);
        QString shown = document.toPlainText();
        shown.replace(QChar::LineSeparator, QLatin1Char('\n'));
        shown.replace(QChar::Nbsp, QLatin1Char(' '));
        EXPECT_EQ(shown, data);
    }
    EXPECT_TRUE(escapedToolTip({}).isEmpty());
}

} // namespace
} // namespace orvel

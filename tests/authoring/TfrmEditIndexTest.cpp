// The index editor driven through its controls, over lesson indexes in a temporary course.
#include <gtest/gtest.h>

#include <QDir>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "IndexEditing.h"
#include "LineFile.h"
#include "Prompter.h"
#include "QtText.h"
#include "Sjis.h"
#include "TestSupport.h"
#include "TfrmEditIndex.h"
#include "TfrmEditSource.h"
#include "TfrmInputText.h"

namespace sulkan {
namespace {

using namespace Qt::Literals::StringLiterals;
using Lines = std::vector<std::string>;
using test::ReadRawFile;
using test::Sjis;
using test::TempDir;
using test::WriteRawFile;
using test::WriteSjisFile;

// "∵" written with its NEC code 0x879A, which decodes to the character whose standard code is
// 0x81E6: only kept bytes give it back.
const std::string kNecBecause = "\x87\x9A";

class TfrmEditIndexTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteSjisFile(course.path() / "Main.ind",
                      {"コース", "", "一課,kan1\\xk1", "二課,kan2\\xk2", "三課,kan3\\xk3",
                       "外,..\\xout", "五課,kan5\\xk5", ">>"});
        WriteSjisFile(course.path() / "kan1" / "k1.ind",
                      {"一の課", "[[sect1", "読み", "<<", "駅", "旅行", ">>", "]]"});
        lesson2 = JoinLines(
            {sjis("二の課"), "[[sect1", sjis("書き"), "<<", kNecBecause + sjis("印"), ">>", "]]"});
        WriteRawFile(course.path() / "kan2" / "k2.ind", lesson2);
        std::filesystem::create_directories(course.path() / "kan3");
    }

    // Shows the editor; act() runs inside its modal loop, then an editor still open is closed.
    int run(const std::function<void()>& act) {
        QTimer::singleShot(0, [&] {
            act();
            if (editor.isVisible()) {
                stayedOpen = true;
                editor.reject();
            }
        });
        return editor.editIndex(course.folder());
    }

    void chooseLesson(int lesson) { editor.lstELesson->setCurrentRow(lesson - 1); }

    // Clicks an add or change button and answers the text input dialog with text and OK.
    void enter(QPushButton* button, const QString& text) {
        QTimer::singleShot(0, [this, text] {
            if (!editor.frmInputText->isVisible()) return;
            editor.frmInputText->memInput->setText(text);
            QTest::mouseClick(editor.frmInputText->btnOk, Qt::LeftButton);
        });
        QTest::mouseClick(button, Qt::LeftButton);
    }

    static QStringList Texts(const QListWidget* list) {
        QStringList texts;
        for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
        return texts;
    }

    std::filesystem::path file(const char* lesson) const {
        return course.path() / (std::string("kan") + lesson) / (std::string("k") + lesson + ".ind");
    }

    TempDir course;
    ScriptedPrompter prompter;
    bool reloadPending = false;
    TfrmEditIndex editor{prompter, reloadPending};
    std::string lesson2;
    bool stayedOpen = false;
};

TEST_F(TfrmEditIndexTest, OpensOnLessonOneWithItsTreeAndHelp) {
    QSignalSpy help(&editor, &TfrmEditIndex::helpRequested);
    run([&] {
        EXPECT_EQ(Texts(editor.lstELesson),
                  QStringList({u"一課"_s, u"二課"_s, u"三課"_s, u"外"_s, u"五課"_s}));
        EXPECT_EQ(editor.edtMainTitle->text(), u"一の課"_s);
        EXPECT_TRUE(editor.edtIndex->text().endsWith(QDir::toNativeSeparators(u"kan1/k1.ind"_s)));
        EXPECT_EQ(editor.edtDataFile->text(), u"未作成"_s);
        EXPECT_EQ(Texts(editor.lstEUnit), QStringList({u"駅"_s, u"旅行"_s}));
        EXPECT_EQ(editor.lstEUnit->currentRow(), 0);
        QTreeWidgetItem* root = editor.trvSect->topLevelItem(0);
        ASSERT_EQ(root->childCount(), 1);
        EXPECT_EQ(root->child(0)->child(1)->text(0), u"旅行"_s);
        EXPECT_EQ(editor.trvSect->currentItem(), root->child(0)->child(0));
        EXPECT_TRUE(root->child(0)->isExpanded());
        QTest::mouseClick(editor.btnExpand, Qt::LeftButton);
        EXPECT_FALSE(root->child(0)->isExpanded());
        EXPECT_EQ(editor.btnExpand->text(), u"表示を展開する"_s);
        QTest::mouseClick(editor.btnHelp, Qt::LeftButton);
    });
    ASSERT_EQ(help.count(), 1);
    EXPECT_EQ(help[0][0].toInt(), 730);
}

TEST_F(TfrmEditIndexTest, EnterInAFieldOrAListPressesNoButtonAndWritesNothing) {
    const std::string lesson1 = ReadRawFile(file("1"));
    const int result = run([&] {
        for (QWidget* field : std::initializer_list<QWidget*>{
                 editor.edtMainTitle, editor.edtIndex, editor.lstESection, editor.lstEUnit}) {
            field->setFocus();
            QTest::keyClick(field, Qt::Key_Return);
            EXPECT_TRUE(editor.isVisible()) << field->objectName().toStdString();
        }
        QTest::keyClicks(editor.edtIndex, u"x"_s);
        EXPECT_FALSE(editor.edtIndex->text().contains(u'x'));
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(ReadRawFile(file("1")), lesson1);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(TfrmEditIndexTest, LessonWithoutIndexShowsTheTemplateAndOkWritesTheAddedSection) {
    const int result = run([&] {
        chooseLesson(3);
        EXPECT_EQ(editor.edtMainTitle->text(), u"ここにタイトルをかいてください"_s);
        EXPECT_EQ(Texts(editor.lstESection), QStringList({u"ここは主メニュー"_s}));
        EXPECT_EQ(Texts(editor.lstEUnit), QStringList({u"ここは副メニュー"_s}));
        EXPECT_FALSE(editor.modified());
        enter(editor.btnAdd, u"部首"_s);
        EXPECT_EQ(editor.lstESection->currentRow(), 1);
        EXPECT_EQ(Texts(editor.lstEUnit), QStringList({u"SubMenu New2"_s}));
        QTest::mouseClick(editor.btnOk, Qt::LeftButton);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    Lines expected = NewLessonIndexTemplate();
    for (const std::string& line : Lines{"[[sect2", sjis("部首"), "<<", "SubMenu New2", ">>", "]]"})
        expected.push_back(line);
    EXPECT_EQ(ReadRawFile(file("3")), JoinLines(expected));
    EXPECT_TRUE(reloadPending);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(TfrmEditIndexTest, OkWithoutEditsWritesNothingAndAnotherLessonDropsTheEdits) {
    const std::string lesson1 = ReadRawFile(file("1"));
    run([&] {
        chooseLesson(3);  // the template alone is no edit
        chooseLesson(1);
        enter(editor.btnAdd, u"書き"_s);
        enter(editor.btnAdd2, u"新しい単元"_s);
        EXPECT_TRUE(editor.modified());
        chooseLesson(2);
        chooseLesson(1);
        EXPECT_EQ(editor.lstESection->count(), 1);
        EXPECT_EQ(editor.lstEUnit->count(), 2);
        QTest::mouseClick(editor.btnOk, Qt::LeftButton);
    });
    EXPECT_FALSE(stayedOpen);
    EXPECT_EQ(ReadRawFile(file("1")), lesson1);
    EXPECT_FALSE(std::filesystem::exists(file("3")));
    EXPECT_FALSE(reloadPending);
}

TEST_F(TfrmEditIndexTest, UnchangedTitlesKeepTheirBytesAndAChangedMainTitleIsSaved) {
    run([&] {
        chooseLesson(2);
        // Renamed to the text it already has: the NEC spelling stays.
        enter(editor.btnChange2, u"∵印"_s);
        editor.edtMainTitle->setText(u"二の課（改）"_s);
        QTest::mouseClick(editor.btnOk, Qt::LeftButton);
    });
    EXPECT_FALSE(stayedOpen);
    std::string expected = lesson2;
    expected.replace(0, sjis("二の課").size(), sjis("二の課（改）"));
    EXPECT_EQ(ReadRawFile(file("2")), expected);
}

TEST_F(TfrmEditIndexTest, DirectEditWritesTheTextKeepingBytesAndReturnsToLessonOne) {
    QSignalSpy help(&editor, &TfrmEditIndex::helpRequested);
    run([&] {
        chooseLesson(2);
        QTimer::singleShot(0, [&] {
            TfrmEditSource* source = editor.frmEditSource;
            EXPECT_TRUE(source->windowTitle().endsWith(QDir::toNativeSeparators(u"kan2/k2.ind"_s)));
            QTest::mouseClick(source->btnHelp, Qt::LeftButton);
            source->memEditBuffer->setPlainText(
                source->memEditBuffer->toPlainText().replace(u"書き"_s, u"書き取り"_s));
            QTest::mouseClick(source->btnOk, Qt::LeftButton);
        });
        QTest::mouseClick(editor.btnEditDirect, Qt::LeftButton);
        EXPECT_EQ(editor.lstELesson->currentRow(), 0);
        EXPECT_EQ(editor.edtMainTitle->text(), u"一の課"_s);
        EXPECT_FALSE(editor.modified());
    });
    std::string expected = lesson2;
    expected.replace(expected.find(sjis("書き")), sjis("書き").size(), sjis("書き取り"));
    EXPECT_EQ(ReadRawFile(file("2")), expected);
    EXPECT_TRUE(reloadPending);
    ASSERT_EQ(help.count(), 1);
    EXPECT_EQ(help[0][0].toInt(), 710);
}

TEST_F(TfrmEditIndexTest, AFailedDirectEditSaveBringsTheSourceEditorBackWithTheText) {
    bool reopened = false;
    QString reopenedWith;
    run([&] {
        chooseLesson(2);
        QTimer::singleShot(0, [&] {
            TfrmEditSource* source = editor.frmEditSource;
            source->memEditBuffer->setPlainText(
                source->memEditBuffer->toPlainText().replace(u"書き"_s, u"書き取り"_s));
            // The index becomes a folder: no file can be written in its place.
            std::filesystem::remove(file("2"));
            std::filesystem::create_directories(file("2"));
            QTimer::singleShot(0, [&, source] {
                reopened = source->isVisible();
                reopenedWith = source->memEditBuffer->toPlainText();
                source->reject();  // given up: nothing is written
            });
            QTest::mouseClick(source->btnOk, Qt::LeftButton);
        });
        QTest::mouseClick(editor.btnEditDirect, Qt::LeftButton);
    });
    EXPECT_TRUE(reopened);
    EXPECT_TRUE(reopenedWith.contains(u"書き取り"_s));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_NE(prompter.shown[0].find("k2.ind"), std::string::npos);
    EXPECT_EQ(prompter.shown[0].find('\\'), std::string::npos) << "one separator style";
    EXPECT_TRUE(std::filesystem::is_directory(file("2")));
    EXPECT_FALSE(reloadPending);
}

TEST_F(TfrmEditIndexTest, LessonLeadingOutOfTheCourseIsRefused) {
    run([&] {
        chooseLesson(4);
        ASSERT_EQ(prompter.shown.size(), 1u);
        EXPECT_NE(prompter.shown[0].find(".."), std::string::npos);
        EXPECT_EQ(editor.lstESection->count(), 0);
        EXPECT_FALSE(editor.btnAdd->isEnabled());
        EXPECT_FALSE(editor.btnEditDirect->isEnabled());
        QTest::mouseClick(editor.btnOk, Qt::LeftButton);
    });
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(prompter.shown.back(), sjis("編集する主メニューを選択してください"));
    EXPECT_FALSE(std::filesystem::exists(course.path().parent_path() / "out.ind"));
}

TEST_F(TfrmEditIndexTest, RefusedTitlesAndFailedSavesLoseNothing) {
    run([&] {
        chooseLesson(5);  // its folder is missing: the template, but no place to save it
        enter(editor.btnAdd, u"絵文字😀"_s);
        enter(editor.btnAdd2, u">>"_s);
        EXPECT_EQ(editor.lstESection->count(), 1);
        EXPECT_EQ(editor.indexLines(), NewLessonIndexTemplate());
        ASSERT_EQ(prompter.shown.size(), 2u);
        EXPECT_NE(prompter.shown[0].find("1F600"), std::string::npos);

        enter(editor.btnAdd, u"熟語"_s);
        QTest::mouseClick(editor.btnOk, Qt::LeftButton);
        EXPECT_TRUE(editor.isVisible());
        ASSERT_EQ(prompter.shown.size(), 3u);
        EXPECT_NE(prompter.shown[2].find("k5.ind"), std::string::npos);
        EXPECT_TRUE(editor.modified());
        EXPECT_EQ(editor.lstESection->count(), 2);
    });
    EXPECT_TRUE(stayedOpen);
    EXPECT_FALSE(reloadPending);
}

}  // namespace
}  // namespace sulkan

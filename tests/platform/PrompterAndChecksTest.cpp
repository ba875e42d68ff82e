#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFont>
#include <QFontInfo>
#include <QMessageBox>
#include <QTimer>
#include <algorithm>

#include "Codec.h"
#include "FileChecks.h"
#include "Fonts.h"
#include "QtPrompter.h"
#include "QtText.h"
#include "Sjis.h"
#include "TestSupport.h"

namespace sulkan {
namespace {

using test::TempDir;
using test::WriteRawFile;

TEST(ScriptedPrompter, RecordsTextsAndAnswersFromTheScript) {
    ScriptedPrompter prompter;
    prompter.answers = {Answer::Yes, Answer::Cancel};
    prompter.message("m");
    EXPECT_EQ(prompter.yesNo("q1"), Answer::Yes);
    EXPECT_EQ(ConfirmYesNoCancel(prompter, "q2"), Answer::Cancel);
    EXPECT_EQ(ConfirmYesNo(prompter, "q3"), Answer::No);  // script used up
    EXPECT_EQ(prompter.yesNoCancel("q4"), Answer::Cancel);
    EXPECT_EQ(prompter.shown, (std::vector<std::string>{"m", "q1", "q2", "q3", "q4"}));
}

TEST(FileChecks, ReportMissingFilesAndFoldersByFullPath) {
    TempDir dir;
    WriteRawFile(dir.path() / "Main.ind", "");
    ScriptedPrompter prompter;
    const std::string root = dir.folder();

    EXPECT_TRUE(FileCheck(prompter, root + "main.IND"));
    EXPECT_TRUE(FolderCheck(prompter, root));
    EXPECT_TRUE(prompter.shown.empty());

    EXPECT_FALSE(FileCheck(prompter, root + "Title.BMP"));
    EXPECT_FALSE(FileCheck(prompter, root));  // a folder is not a file
    EXPECT_FALSE(FolderCheck(prompter, root + sjis("表\\")));
    EXPECT_FALSE(FolderCheck(prompter, root + "Main.ind"));
    ASSERT_EQ(prompter.shown.size(), 4u);
    EXPECT_EQ(prompter.shown[0],
              sjis("ファイル ") + root + "Title.BMP" + sjis(" が見つかりません"));
    EXPECT_EQ(prompter.shown[2], sjis("ディレクトリ ") + root + sjis("表\\ が見つかりません"));
    EXPECT_EQ(FileMissingText("x"), sjis("ファイル x が見つかりません"));
    EXPECT_EQ(FolderMissingText("x"), sjis("ディレクトリ x が見つかりません"));
}

TEST(QtText, ConversionsKeepBytesAndRefuseWhatCp932CannotHold) {
    const std::string bytes = sjis("表ソ漢字") + "\x80\xFF";
    QString text = ToQString(bytes);
    EXPECT_EQ(text.left(4), QString::fromUtf8("表ソ漢字"));
    EXPECT_EQ(FromQString(text), bytes);

    char32_t failed = 0;
    EXPECT_FALSE(FromQString(QString::fromUtf8("はい😀"), &failed).has_value());
    EXPECT_EQ(failed, U'😀');
    QString message = UnencodableMessage(failed);
    EXPECT_TRUE(message.contains(QString::fromUtf8("「😀」"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("U+1F600")));
    EXPECT_TRUE(message.contains(QString::fromUtf8("保存できない文字")));
    // A Prompter's message is CP932: the character is named by its code, never left out silently.
    EXPECT_EQ(ToQString(UnencodableText(failed)),
              QString::fromUtf8("U+1F600 の文字はこのプログラムのファイルに保存できません"));
}

// Answers the next message box from inside its event loop and notes how it looked.
struct BoxSpy {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;

    void clickNext(QMessageBox::StandardButton which) {
        QTimer::singleShot(0, [this, which] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            buttons = box->standardButtons();
            box->button(which)->click();
        });
    }
};

TEST(QtPrompter, ShowsOnlyTheTextAndMapsTheButtons) {
    QtPrompter prompter;
    BoxSpy spy;

    spy.clickNext(QMessageBox::Ok);
    prompter.message(sjis("ファイル a が見つかりません"));
    EXPECT_EQ(spy.text, QString::fromUtf8("ファイル a が見つかりません"));
    EXPECT_TRUE(spy.title.isEmpty());
    EXPECT_EQ(spy.icon, QMessageBox::Information);

    spy.clickNext(QMessageBox::Yes);
    EXPECT_EQ(prompter.yesNo("q"), Answer::Yes);
    EXPECT_EQ(spy.icon, QMessageBox::Question);
    EXPECT_EQ(spy.buttons, QMessageBox::Yes | QMessageBox::No);

    spy.clickNext(QMessageBox::No);
    EXPECT_EQ(prompter.yesNo("q"), Answer::No);

    spy.clickNext(QMessageBox::Cancel);
    EXPECT_EQ(prompter.yesNoCancel("q"), Answer::Cancel);
    EXPECT_EQ(spy.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);

    spy.clickNext(QMessageBox::No);
    EXPECT_EQ(prompter.yesNoCancel("q"), Answer::No);
}

bool Contains(const std::vector<std::string>& list, const char* utf8) {
    return std::find(list.begin(), list.end(), sjis(utf8)) != list.end();
}

// Family names depend on the locale the font database was built in, so either name is accepted.
TEST(Fonts, ListsScalableFacesAndTheRunningScriptOnes) {
    auto all = ListFonts(true, true);
    EXPECT_TRUE(std::is_sorted(all.begin(), all.end()));
    EXPECT_TRUE(Contains(all, "IPAMincho") || Contains(all, "IPA明朝"));
    EXPECT_TRUE(Contains(all, "DejaVu Serif"));

    auto gyosho = ListFonts(false, false);
    EXPECT_TRUE(Contains(gyosho, "衡山毛筆フォント行書") ||
                Contains(gyosho, "KouzanBrushFontGyousyo"));
    for (const auto& name : gyosho) {
        EXPECT_NE(name.front(), '@');
        EXPECT_FALSE(Contains({name}, "IPAMincho"));
        EXPECT_TRUE(std::find(all.begin(), all.end(), name) != all.end());
    }
    EXPECT_LT(gyosho.size(), all.size());
}

TEST(Fonts, CoursewareFaceNamesMapToInstalledFaces) {
    InstallFontSubstitutions();
    auto family = [](const char* face) {
        return QFontInfo(QFont(QString::fromUtf8(face))).family();
    };
    const QStringList mincho = {"IPAMincho", QString::fromUtf8("IPA明朝")};
    const QStringList gothic = {"IPAGothic", QString::fromUtf8("IPAゴシック")};
    const QStringList pGothic = {"IPAPGothic", QString::fromUtf8("IPA Pゴシック")};
    for (const char* face : {"MS 明朝", "ＭＳ 明朝", "MS Mincho"})
        EXPECT_TRUE(mincho.contains(family(face))) << face << " -> " << family(face).toStdString();
    for (const char* face : {"ＭＳ ゴシック", "MS ゴシック", "MS Gothic"})
        EXPECT_TRUE(gothic.contains(family(face))) << face << " -> " << family(face).toStdString();
    for (const char* face : {"ＭＳ Ｐゴシック", "MS Pゴシック", "MS PGothic"})
        EXPECT_TRUE(pGothic.contains(family(face))) << face << " -> " << family(face).toStdString();
    EXPECT_TRUE(family("ＭＳ Ｐ明朝").startsWith("IPA"));
    EXPECT_EQ(family("Bookman Old Style"), "DejaVu Serif");
}

}  // namespace
}  // namespace sulkan

#include <gtest/gtest.h>

#include <QSettings>
#include <QString>

#include "SettingsStore.h"
#include "Sjis.h"
#include "TestSupport.h"

namespace sulkan {
namespace {

using test::TempDir;

// The behaviour both stores share, run against each of them.
class AnySettingsStore : public testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        if (GetParam())
            store = MakeQtSettingsStore(dir.path().string());
        else
            store = std::make_unique<MemorySettingsStore>();
    }
    TempDir dir;
    std::unique_ptr<SettingsStore> store;
};

TEST_P(AnySettingsStore, FirstReadCreatesTheDefaultLaterReadsReturnIt) {
    const auto P = SettingsKey::Product;
    EXPECT_EQ(store->readString(P, "theSchool", ""), "");
    EXPECT_TRUE(store->readBool(P, "ShowDoYouKnow", true));
    EXPECT_EQ(store->readInt(P, "PaperSize", 630), 630);
    EXPECT_EQ(store->readString(P, "LogOnName", sjis("共通")), sjis("共通"));
    EXPECT_FALSE(store->readBool(P, "KeyLock", false));
    EXPECT_EQ(store->readString(SettingsKey::Shared, "RecDrive", "C:\\"), "C:\\");

    // The stored values win over other defaults now.
    EXPECT_EQ(store->readString(P, "theSchool", "x"), "");
    EXPECT_TRUE(store->readBool(P, "ShowDoYouKnow", false));
    EXPECT_EQ(store->readInt(P, "PaperSize", 546), 630);
    EXPECT_EQ(store->readString(P, "LogOnName", "other"), sjis("共通"));
    EXPECT_FALSE(store->readBool(P, "KeyLock", true));
    EXPECT_EQ(store->readString(SettingsKey::Shared, "RecDrive", "D:\\"), "C:\\");
}

TEST_P(AnySettingsStore, WritesOverwriteAndKeysAreSeparate) {
    const auto P = SettingsKey::Product;
    store->writeInt(P, "PaperSize", 891);
    store->writeBool(P, "KeyLock", true);
    store->writeString(P, "theSchool", sjis("ひまわり塾　表組"));
    store->writeString(SettingsKey::Shared, "theSchool", "shared");
    EXPECT_EQ(store->readInt(P, "PaperSize", 630), 891);
    EXPECT_TRUE(store->readBool(P, "KeyLock", false));
    EXPECT_EQ(store->readString(P, "theSchool", ""), sjis("ひまわり塾　表組"));
    EXPECT_EQ(store->readString(SettingsKey::Shared, "theSchool", ""), "shared");
    EXPECT_EQ(store->readString(SettingsKey::Shared, "RecDrive", "C:\\"), "C:\\");
    EXPECT_EQ(store->readInt(P, "Negative", -5), -5);
    EXPECT_EQ(store->readInt(P, "Negative", 0), -5);
}

TEST_P(AnySettingsStore, BooleansAreIntegersZeroOrOne) {
    const auto P = SettingsKey::Product;
    store->writeBool(P, "KeyLock", true);
    EXPECT_EQ(store->readInt(P, "KeyLock", 7), 1);
    store->writeInt(P, "KeyLock", 0);
    EXPECT_FALSE(store->readBool(P, "KeyLock", true));
    store->writeInt(P, "KeyLock", 2);
    EXPECT_TRUE(store->readBool(P, "KeyLock", false));
}

TEST_P(AnySettingsStore, AValueOfAnotherTypeGivesTheDefaultAndStays) {
    const auto P = SettingsKey::Product;
    store->writeString(P, "PaperSize", "wide");
    EXPECT_EQ(store->readInt(P, "PaperSize", 630), 630);
    EXPECT_FALSE(store->readBool(P, "PaperSize", false));
    EXPECT_TRUE(store->readBool(P, "PaperSize", true));
    EXPECT_EQ(store->readString(P, "PaperSize", ""), "wide");
}

INSTANTIATE_TEST_SUITE_P(Stores, AnySettingsStore, testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Qt" : "Memory"; });

TEST(QtSettingsStore, StoresIntegersAndUnicodeTextInTwoFiles) {
    TempDir dir;
    auto store = MakeQtSettingsStore(dir.path().string());
    store->readBool(SettingsKey::Product, "KeyLock", true);
    store->writeString(SettingsKey::Product, "LogOnName", sjis("共通"));
    store->readString(SettingsKey::Shared, "RecDrive", "C:\\");

    QSettings product(QString::fromStdString((dir.path() / "SlkDrill.ini").string()),
                      QSettings::IniFormat);
    EXPECT_EQ(product.value("KeyLock").toString(), "1");
    EXPECT_EQ(product.value("LogOnName").toString(), QString::fromUtf8("共通"));
    EXPECT_FALSE(product.contains("RecDrive"));
    QSettings shared(QString::fromStdString((dir.path() / "Common.ini").string()),
                     QSettings::IniFormat);
    EXPECT_EQ(shared.value("RecDrive").toString(), "C:\\");
}

TEST(QtSettingsStore, TextUnicodeCannotGiveBackKeepsItsBytes) {
    TempDir dir;
    auto store = MakeQtSettingsStore(dir.path().string());
    // ED 40 is an NEC-selected duplicate of FA 5C; 85 40 is no character at all.
    const std::string names[] = {"\xED\x40" + sjis("山"), "a\x85\x40", sjis("共通")};
    for (const std::string& name : names) {
        store->writeString(SettingsKey::Product, "LogOnName", name);
        EXPECT_EQ(store->readString(SettingsKey::Product, "LogOnName", "d"), name);
    }
    // Text that round trips is still stored as text other programs can read.
    QSettings product(QString::fromStdString((dir.path() / "SlkDrill.ini").string()),
                      QSettings::IniFormat);
    EXPECT_EQ(product.value("LogOnName").toString(), QString::fromUtf8("共通"));
}

TEST(QtSettingsStore, EveryCallSeesTheStoreAsItIsNow) {
    TempDir dir;
    auto store = MakeQtSettingsStore(dir.path().string());
    EXPECT_EQ(store->readInt(SettingsKey::Product, "PaperSize", 630), 630);
    {
        // Another program (or another store object) changes the value meanwhile.
        QSettings other(QString::fromStdString((dir.path() / "SlkDrill.ini").string()),
                        QSettings::IniFormat);
        other.setValue("PaperSize", 771);
        other.setValue("Emoji", QString::fromUtf8("a😀"));
        other.setValue("List", QStringList{"a", "b"});
    }
    EXPECT_EQ(store->readInt(SettingsKey::Product, "PaperSize", 630), 771);
    // Text CP932 cannot hold, or a value that is no string, reads as the default and stays.
    EXPECT_EQ(store->readString(SettingsKey::Product, "Emoji", "d"), "d");
    EXPECT_EQ(store->readString(SettingsKey::Product, "List", "d"), "d");
    QSettings check(QString::fromStdString((dir.path() / "SlkDrill.ini").string()),
                    QSettings::IniFormat);
    EXPECT_EQ(check.value("Emoji").toString(), QString::fromUtf8("a😀"));
}

}  // namespace
}  // namespace sulkan

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Result.h"

namespace sulkan {
namespace {

Result<int> Half(int n) {
    if (n % 2 != 0) return Problem{"odd", "reason"};
    return n / 2;
}

TEST(Result, HoldsTheValueOrTheProblem) {
    const Result<int> half = Half(8);
    ASSERT_TRUE(half.ok());
    EXPECT_TRUE(static_cast<bool>(half));
    EXPECT_EQ(half.value(), 4);
    EXPECT_EQ(half.problem(), Problem{});

    const Result<int> odd = Half(7);
    EXPECT_FALSE(odd.ok());
    EXPECT_FALSE(static_cast<bool>(odd));
    EXPECT_EQ(odd.problem().message, "odd");
    EXPECT_EQ(odd.problem().reason, "reason");
    EXPECT_THROW(static_cast<void>(odd.value()), std::bad_variant_access);
}

TEST(Result, AStringValueIsNotTakenForAProblem) {
    // An empty string is a value like any other, not a failure.
    const Result<std::string> empty = std::string();
    EXPECT_TRUE(empty.ok());
    EXPECT_EQ(empty.value(), "");
    const Result<std::string> failed = Problem{""};
    EXPECT_FALSE(failed.ok());
}

TEST(Result, MovesAValueThatCannotBeCopied) {
    Result<std::unique_ptr<int>> held = std::make_unique<int>(5);
    ASSERT_TRUE(held);
    std::unique_ptr<int> taken = std::move(held).value();
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(*taken, 5);

    Result<std::vector<std::string>> lines = std::vector<std::string>{"a", "b"};
    lines.value().push_back("c");
    EXPECT_EQ(lines.value().size(), 3u);
}

TEST(Result, VoidIsSuccessOrAProblem) {
    const Result<> done;
    EXPECT_TRUE(done.ok());
    EXPECT_EQ(done.problem(), Problem{});

    // A problem with an empty message still counts as a failure.
    const Result<> failed = Problem{"", "EACCES"};
    EXPECT_FALSE(failed.ok());
    EXPECT_FALSE(static_cast<bool>(failed));
    EXPECT_EQ(failed.problem().reason, "EACCES");

    Result<> later = failed;
    EXPECT_FALSE(later);
    later = Result<>();
    EXPECT_TRUE(later);
}

}  // namespace
}  // namespace sulkan

// The structural lines of question and copy files. Each is recognised only as a whole line,
// compared exactly and case-sensitively.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sulkan::tags {

inline constexpr std::string_view kUnitEnd = "]]";
inline constexpr std::string_view kBlockEnd = ">>";
// Every unit header starts so: "[[unit3", "[[unit3R1", the copy file's "[[unitX".
inline constexpr std::string_view kUnitHeaderPrefix = "[[unit";

inline constexpr std::string_view kQues = "<<ques";
inline constexpr std::string_view kValue = "<<value";
inline constexpr std::string_view kFont = "<<font";
inline constexpr std::string_view kKran = "<<kran";
inline constexpr std::string_view kGraph = "<<graph";
inline constexpr std::string_view kAGraph = "<<AGraph";
inline constexpr std::string_view kKgroup = "<<kgroup";
inline constexpr std::string_view kDummy = "<<dummy";
inline constexpr std::string_view kHint = "<<hint";
inline constexpr std::string_view kSoftKeyB = "<<SoftKeyB";
inline constexpr std::string_view kAns = "<<ans";
inline constexpr std::string_view kHeader = "<<header";

// A whole block: tag, content lines, ">>".
inline void AppendBlock(std::vector<std::string>& out, std::string_view tag,
                        const std::vector<std::string>& content) {
    out.emplace_back(tag);
    out.insert(out.end(), content.begin(), content.end());
    out.emplace_back(kBlockEnd);
}

}  // namespace sulkan::tags

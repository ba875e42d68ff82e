// The one check that a name taken from a file (a figure, a lesson folder or base name, a copy
// file, a learner, a soft keyboard) stays inside the folder it is meant for.
#pragma once

#include <string>
#include <string_view>

#include "Result.h"

namespace sulkan {

enum class NameShape {
    Path,      // may name a file in a subfolder ("sub\fig.bmp")
    FileName,  // one name, no separator at all (learners, copy files)
};

// Why the name cannot stay inside any folder, read from its text alone: empty, absolute, a drive
// letter or UNC prefix, a ":" (drive or stream), a ".." component, a NUL byte, or (FileName) a
// separator. Separators are "\" and "/" as whole characters, exactly as paths are converted, so a
// 0x5C trail byte is no separator. The failure's message (CP932) is the reason alone, to be set
// into a message that names the name.
Result<> NameFault(std::string_view name, NameShape shape = NameShape::Path);

// folder + name (CP932) when accepted; refused, a message naming the name with the reason alone.
using ContainedPath = Result<std::string>;

// folder + name, accepted only when the text of name is fine and no symbolic link on the way
// (name's components, followed as the system will follow them) leads out of folder. A link that
// points nowhere counts as leading out. Nothing is read or created; a name whose tail does not
// exist yet is accepted when its existing part stays inside.
ContainedPath PathInside(const std::string& folder, const std::string& name,
                         NameShape shape = NameShape::Path);

// A path the system gave (a file dialog's answer, CP932) split at its last separator of the
// system ("/" here, "\" or "/" on Windows): on Linux a "\" belongs to the file name, although
// the program would take it for a separator.
struct SplitPath {
    std::string folder;  // with its trailing separator
    std::string name;
};
SplitPath SplitNativePath(const std::string& path);

// "「name」はフォルダ folder の中の名前として使えません（reason）", CP932.
std::string NameRefusedText(const std::string& name, const std::string& folder,
                            const std::string& reason);

}  // namespace sulkan

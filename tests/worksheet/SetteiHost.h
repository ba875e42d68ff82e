// The main window stand-in of the settings dialog's tests: answers shown from the start.
#pragma once

#include "FakeHost.h"

namespace sulkan::test {

struct SetteiHost : FakeHost {
    SetteiHost() { answersShown = true; }
};

}  // namespace sulkan::test

// Main of every Windows test program: a watchdog against hangs and guards against modal boxes and windows.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "qeltest/message_box_hook.h"
#include "qeltest/modal_hook.h"
#include "qeltest/watchdog.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // A crash must end the process, not wait on an error dialog.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);

    unsigned seconds = 60;
    if (const char* value = std::getenv("QEL_TEST_WATCHDOG_SECONDS"))
        seconds = static_cast<unsigned>(std::strtoul(value, nullptr, 10));
    ::testing::UnitTest::GetInstance()->listeners().Append(new qeltest::Watchdog(seconds));
    qeltest::InstallUnexpectedMessageBoxGuard();
    qeltest::InstallUnexpectedModalGuard();
    return RUN_ALL_TESTS();
}

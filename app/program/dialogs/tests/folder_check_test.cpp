// The Basic settings page's folder check: network paths and removable, remote, CD-ROM and RAM drives
// are refused; a folder on a fixed disk is taken.
#include <gtest/gtest.h>

#include <windows.h>

#include "SetBasicDlg.h"

TEST(FolderCheck, ANetworkPathIsRefused) {
    EXPECT_TRUE(IsUnsuitableFolder("\\\\server\\share\\pictures"));
    EXPECT_TRUE(IsUnsuitableFolder("C:\\pictures\\\\more")) << "two backslashes in a row anywhere";
}

TEST(FolderCheck, AFolderOnAFixedDiskIsTaken) {
    char windows[MAX_PATH] = {};
    ASSERT_NE(0u, ::GetWindowsDirectoryA(windows, MAX_PATH));
    const char root[] = {windows[0], ':', '\\', 0};
    if (::GetDriveTypeA(root) != DRIVE_FIXED)
        GTEST_SKIP() << "the system drive " << root << " is not a fixed disk here";
    EXPECT_FALSE(IsUnsuitableFolder(windows));
}

TEST(FolderCheck, EveryDriveIsJudgedByItsType) {
    int judged = 0;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const char root[] = {letter, ':', '\\', 0};
        const UINT type = ::GetDriveTypeA(root);
        if (type == DRIVE_NO_ROOT_DIR || type == DRIVE_UNKNOWN)
            continue;
        const bool refused = type == DRIVE_REMOVABLE || type == DRIVE_REMOTE || type == DRIVE_CDROM ||
                             type == DRIVE_RAMDISK;
        const std::string folder = std::string(root) + "pictures";
        EXPECT_EQ(refused, IsUnsuitableFolder(folder.c_str()) != FALSE) << folder << " of drive type " << type;
        ++judged;
    }
    EXPECT_LT(0, judged);
}

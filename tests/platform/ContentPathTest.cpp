#include "platform/ContentPath.h"

#include <gtest/gtest.h>

// Backslashes become slashes; installed, content names resolve in the content folder and written
// files in the user's.
TEST(ContentPath, NamesResolveInTheirFolders)
{
    EXPECT_EQ(NativePath("a\\b\\c"), "a/b/c");
    EXPECT_EQ(NativePath("/already/native"), "/already/native");
    EXPECT_EQ(WritablePath("muestrasPosX.m"), "muestrasPosX.m");
    SetContentFolders({"/usr/share/brumaria", "/home/ana/.local/share/brumaria"});
    EXPECT_EQ(NativePath("snd\\andar.snd"), "/usr/share/brumaria/snd/andar.snd");
    EXPECT_EQ(NativePath("intro"), "/usr/share/brumaria/intro");
    EXPECT_EQ(WritablePath("configuracion"), "/home/ana/.local/share/brumaria/configuracion");
    SetContentFolders({});
    EXPECT_EQ(NativePath("snd\\andar.snd"), "snd/andar.snd");
    EXPECT_EQ(WritablePath("configuracion"), "configuracion");
}

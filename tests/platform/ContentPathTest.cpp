#include "platform/ContentPath.h"

#include <gtest/gtest.h>

TEST(ContentPath, BackslashesBecomeSlashes)
{
    EXPECT_EQ(NativePath("snd\\andar.snd"), "snd/andar.snd");
    EXPECT_EQ(NativePath("modelos\\cielo.x"), "modelos/cielo.x");
    EXPECT_EQ(NativePath("a\\b\\c"), "a/b/c");
}

TEST(ContentPath, NamesWithoutFoldersAreUnchanged)
{
    EXPECT_EQ(NativePath("intro"), "intro");
    EXPECT_EQ(NativePath("configuracion"), "configuracion");
    EXPECT_EQ(NativePath("/already/native"), "/already/native");
    EXPECT_EQ(WritablePath("muestrasPosX.m"), "muestrasPosX.m");
}

// Installed: content names resolve in the content folder, written files in the user's.
TEST(ContentPath, NamesResolveInTheirFolders)
{
    SetContentFolders({"/usr/share/brumaria", "/home/ana/.local/share/brumaria"});
    EXPECT_EQ(NativePath("snd\\andar.snd"), "/usr/share/brumaria/snd/andar.snd");
    EXPECT_EQ(NativePath("intro"), "/usr/share/brumaria/intro");
    EXPECT_EQ(WritablePath("configuracion"), "/home/ana/.local/share/brumaria/configuracion");
    SetContentFolders({});
    EXPECT_EQ(NativePath("snd\\andar.snd"), "snd/andar.snd");
    EXPECT_EQ(WritablePath("configuracion"), "configuracion");
}

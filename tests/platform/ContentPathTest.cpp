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
}

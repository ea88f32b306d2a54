#include "app/core/StartupTimes.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

TEST(StartupTimesTest, StagesCountFromTheStartOfTheProcessAndAddUpToTheTotalWithoutTheirDetails)
{
    StartupTimes times;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    times.Mark("ventana");
    times.Detail("texturas", 5.0);
    times.Mark("sonido");
    ASSERT_EQ(times.Stages().size(), 4u);
    const double loading = times.Stages()[0].ms;
    // The process had started before this test ran, well within a minute.
    EXPECT_TRUE(loading > 0.0 && loading < 60000.0) << loading;
    EXPECT_GE(times.Stages()[1].ms, 20.0);
    EXPECT_DOUBLE_EQ(times.TotalMs(), loading + times.Stages()[1].ms + times.Stages()[3].ms);
    const std::string report = times.Report();
    EXPECT_EQ(report.find("brumaria: start-up: program and libraries loaded: "), 0u) << report;
    EXPECT_NE(report.find("\nbrumaria: start-up: - texturas: 5 ms\nbrumaria: start-up: sonido: "), std::string::npos)
        << report;
    EXPECT_NE(report.find("\nbrumaria: start-up: total: "), std::string::npos) << report;
}

// The dialog suites run inside one application on Qt's offscreen platform;
// listing them (CTest does it at build time) needs no application.
#include <QApplication>

#include <gtest/gtest.h>

#include <optional>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    std::optional<QApplication> app;
    if (!GTEST_FLAG_GET(list_tests)) app.emplace(argc, argv);
    return RUN_ALL_TESTS();
}

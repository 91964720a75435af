#include <gtest/gtest.h>

#include <QCoreApplication>

// The transports need an application object for their event loop.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QCoreApplication app(argc, argv);
  return RUN_ALL_TESTS();
}

// Two copies of the program locking one data folder: the second waits, then
// gives up with a clear text; nested holds within one copy count.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/FileLock.h"

namespace {

TEST(FileLockTest, ASecondHolderWaitsThenGivesUpAndNestedHoldsCount) {
  // Standard input closed: the first lock file is opened as descriptor 0.
  EXPECT_TRUE(WithoutStandardInput([] {
    TempDir dir;
    const std::string path = dir / "kav_pnb.lock";
    TFileLock first([&] { return path; });
    TFileLock second([&] { return path; }, std::chrono::milliseconds(200));
    first.Acquire();
    first.Acquire();  // nested: still one hold of the file
    first.Release();
    EXPECT_EQ(ErrorOf([&] { second.Acquire(); }), "Another copy of the program has held \"" +
                                                      Native(path) + "\" for 1 second; try again.");
    EXPECT_FALSE(second.Held());
    first.Release();
    EXPECT_EQ(ErrorOf([&] { second.Acquire(); }), "");
    EXPECT_TRUE(second.Held());
    second.Release();
  }));
}

}  // namespace

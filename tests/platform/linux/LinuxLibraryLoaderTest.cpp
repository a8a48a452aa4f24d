#include "platform/linux/LinuxLibraryLoader.h"

#include <gtest/gtest.h>

namespace calidus {
namespace {

TEST(LinuxLibraryLoader, AMissingLibraryOrSymbolIsNothing) {
    LinuxLibraryLoader loader;
    EXPECT_EQ(loader.open("libcalidus-no-such-library.so.1"), nullptr);
    EXPECT_EQ(loader.symbol(nullptr, "getpid"), nullptr);
    loader.close(nullptr);

    const LibraryLoader::Handle libc = loader.open("libc.so.6");
    ASSERT_NE(libc, nullptr);
    EXPECT_NE(loader.symbol(libc, "getpid"), nullptr);
    EXPECT_EQ(loader.symbol(libc, "calidus_no_such_symbol"), nullptr);
    loader.close(libc);
}

}  // namespace
}  // namespace calidus

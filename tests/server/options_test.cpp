// The server's command line: the panel's address must fit the login result whole.
#include "front/options.h"

#include <gtest/gtest.h>

namespace tallow::server {
namespace {

TEST(ServerOptions, AWebAddressTooLongForTheLoginResultIsRefused) {
  for (std::size_t length : {99u, 100u}) {
    Options o;
    std::string error;
    const std::string url = "file:///" + std::string(length - 8, 'a');
    EXPECT_EQ(ParseOptions({"--web", url}, o, error), length == 99) << length;
    EXPECT_EQ(o.config.webAddress, length == 99 ? url : "");
  }
}

}  // namespace
}  // namespace tallow::server

#include <gtest/gtest.h>
TEST(BadInput, Placeholder) {}

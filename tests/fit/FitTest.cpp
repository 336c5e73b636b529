#include "fit/EqFit.h"
#include <gtest/gtest.h>
TEST(Fit, Builds) {}

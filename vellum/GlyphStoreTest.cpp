#include <gtest/gtest.h>

#include "vellum/GlyphStore.h"

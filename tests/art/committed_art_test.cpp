#include <gtest/gtest.h>

#include "art_files.h"
#include "tests/support/generated_files.h"

TEST(CommittedArt, RegeneratingGivesTheCommittedBytes) {
    ExpectRegeneratedAsCommitted(ARTGEN_PATH, ART_DATA_DIR, expected_art_files());
}

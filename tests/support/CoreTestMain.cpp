// The test programs of the core: the catalogue is loaded once, as the programs do at start.
#include "model/ParameterTable.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    InitCatalogue();
    return RUN_ALL_TESTS();
}

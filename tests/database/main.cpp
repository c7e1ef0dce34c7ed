#include "model/ParameterTable.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    InitCatalogue();
    return RUN_ALL_TESTS();
}

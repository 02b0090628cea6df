#include "driver/FileTableSchema.h"

const FieldDefinition FileTableSchema[kFileTableFieldCount] = {
    // ordinal, name id, description id, value type, length
    {1, 5, 67, stringValue, 52},      {2, 6, 68, stringValue, 512},
    {3, 132, 134, stringValue, 512},  {4, 133, 135, stringValue, 512},
    {5, 7, 69, stringValue, 512},     {6, 8, 70, stringValue, 52},
    {7, 9, 71, stringValue, 52},      {8, 10, 72, stringValue, 102},
    {9, 11, 73, int32uValue, 4},      {10, 12, 74, int32uValue, 4},
    {11, 13, 75, dateTimeValue, 12},  {12, 14, 76, dateTimeValue, 12},
    {13, 15, 77, dateTimeValue, 12},  {14, 16, 78, stringValue, 52},
    {15, 17, 79, stringValue, 512},   {16, 18, 80, stringValue, 102},
    {17, 19, 81, stringValue, 102},   {18, 20, 82, stringValue, 512},
    {19, 21, 83, stringValue, 162},   {20, 22, 84, stringValue, 162},
    {21, 23, 85, stringValue, 102},   {22, 24, 86, stringValue, 102},
    {23, 25, 87, stringValue, 52},    {24, 26, 88, stringValue, 102},
    {25, 27, 89, stringValue, 102},   {26, 28, 90, stringValue, 102},
    {27, 29, 91, stringValue, 52},    {28, 30, 92, stringValue, 52},
    {29, 31, 93, booleanValue, 2},    {30, 32, 94, booleanValue, 2},
    {31, 33, 95, booleanValue, 2},    {32, 34, 96, booleanValue, 2},
    {33, 35, 97, booleanValue, 2},    {34, 36, 98, stringValue, 52},
    {35, 37, 99, stringValue, 52},    {36, 38, 100, stringValue, 512},
    {37, 39, 101, booleanValue, 2},   {38, 40, 102, booleanValue, 2},
    {39, 41, 103, booleanValue, 2},   {40, 42, 104, booleanValue, 2},
    {41, 43, 105, booleanValue, 2},   {42, 44, 106, booleanValue, 2},
    {43, 45, 107, booleanValue, 2},   {44, 46, 108, booleanValue, 2},
    {45, 47, 109, int32uValue, 4},    {46, 137, 138, stringValue, 22},
    {47, 48, 110, int32uValue, 4},    {48, 49, 111, int32uValue, 4},
    {49, 50, 112, stringValue, 258},  {50, 51, 113, stringValue, 102},
    {51, 52, 114, stringValue, 102},  {52, 53, 115, stringValue, 258},
    {53, 54, 116, memoValue, 8},      {54, 55, 117, stringValue, 512},
    {55, 56, 118, stringValue, 102},  {56, 57, 119, stringValue, 52},
    {57, 58, 120, int32uValue, 4},    {58, 59, 121, dateTimeValue, 12},
    {59, 60, 122, dateTimeValue, 12}, {60, 61, 123, dateTimeValue, 12},
    {61, 62, 124, int32uValue, 4},    {62, 63, 125, int32uValue, 4},
    {63, 64, 126, int32uValue, 4},    {64, 65, 127, stringValue, 102},
    {65, 66, 128, int32uValue, 4},
};

const FieldDefinition* FindFieldDefinition(int64_t ordinal) {
    if (ordinal < 1 || ordinal > kFileTableFieldCount)
        return nullptr;
    return &FileTableSchema[ordinal - 1];
}

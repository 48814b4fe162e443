#include "process_window/variant.h"

#include <gtest/gtest.h>

#include "system/failure.h"

namespace {

using namespace frm;

TEST(VariantToLong, ConvertsAsTheRuntimeDoes) {
    struct Case {
        Variant value;
        std::int32_t expected;
    };
    for (const Case& c : std::vector<Case>{
             {Empty{}, 0},
             {Boolean{kTrue}, -1},
             {Boolean{kFalse}, 0},
             {std::int16_t{-7}, -7},
             {std::int32_t{2147483647}, 2147483647},
             {2.5, 2},  // half to even
             {3.5, 4},
             {-2.5, -2},
             {1.4f, 1},
             {-2147483648.0, -2147483647 - 1},
             {std::wstring(L"  123 "), 123},
             {std::wstring(L"-1.5"), -2},
             {std::wstring(L"1e3"), 1000},
             {std::wstring(L"&H10"), 16},
             {std::wstring(L"&HFFFFFFFF"), -1},
             {std::wstring(L"2.5"), 2},
             {std::wstring(L"2.51"), 3},
             {std::wstring(L".5"), 0},
             {std::wstring(L"+1.5"), 2},
             {std::wstring(L"25e-1"), 2},
             {std::wstring(L"1e-99999"), 0},
             {std::wstring(L"-2147483648"), -2147483647 - 1},
         }) {
        EXPECT_EQ(ToLong(c.value), c.expected) << c.value.index();
    }
}

TEST(VariantToLong, RaisesAConversionErrorForWhatIsNoNumberInRange) {
    struct Case {
        Variant value;
        std::uint32_t number;
    };
    for (const Case& c : std::vector<Case>{
             {std::wstring(L"Fenster"), 13},
             {std::wstring(L""), 13},
             {std::wstring(L"12abc"), 13},
             {std::wstring(L"&HXYZ"), 13},
             {std::wstring(L"&H123456789"), 6},
             {2147483647.5, 6},
             {-2147483649.0, 6},
             {std::wstring(L"1e999"), 6},
             {std::wstring(L"2147483647.5"), 6},
             {std::wstring(L"1.2.3"), 13},
             {std::wstring(L"e5"), 13},
             {std::wstring(L"1e"), 13},
             {std::wstring(L"-"), 13},
             {std::wstring(L"1 2"), 13},
             {Null{}, 94},
         }) {
        try {
            ToLong(c.value);
            ADD_FAILURE() << "converted: " << c.value.index();
        } catch (const sys::Failure& failure) {
            EXPECT_EQ(failure.number(), c.number) << c.value.index();
        }
    }
}

}  // namespace

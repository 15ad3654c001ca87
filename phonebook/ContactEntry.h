#pragma once
// One contact as the user sees it: a name and up to five numbers, each stored on the phone as an
// entry of its own, named with the contact's name and the suffix of the number's kind.

#include <cstdint>
#include <string>

struct CContactEntry {
    // Change marks: which parts differ from the phone. Other shares the bit 0x10 with Fax, so a
    // change of either makes the writer process both; 0x04 is only ever set together with 0x10.
    static constexpr std::uint32_t MarkHome = 0x01;
    static constexpr std::uint32_t MarkWork = 0x02;
    static constexpr std::uint32_t MarkMobile = 0x08;
    static constexpr std::uint32_t MarkFax = 0x10;
    static constexpr std::uint32_t MarkOther = 0x14;
    static constexpr std::uint32_t MarkAllNumbers = 0x1F;
    static constexpr std::uint32_t MarkName = 0x40;

    std::uint32_t marks = 0;
    std::u16string name;
    std::u16string home;
    std::u16string work;
    std::u16string mobile;
    std::u16string fax;
    std::u16string other;
    // Phone index of each number: 0 not on the phone, -1 none was free when one was asked for.
    int workIndex = 0;
    int homeIndex = 0;
    int mobileIndex = 0;
    int faxIndex = 0;
    int otherIndex = 0;

    // True when any of the five index fields holds `index`.
    bool HoldsIndex(int index) const {
        return workIndex == index || homeIndex == index || mobileIndex == index ||
               faxIndex == index || otherIndex == index;
    }
};

#pragma once

#include <array>

namespace tavrin {

// The map script maker's choices that the tool options window switches on
// and off, in the order it sets them.
enum class MapScriptChoice {
    Ambient,                // cboAmbient
    Soldier,                // cboSoldier
    SoldierVariation,       // cboSoldierV
    Weather,                // cboWeather
    Division,               // cboDivision
    GermanWeather,          // cboG_Weather
    GermanSoldierVariation, // cboG_Sold_Var
    GermanDivision,         // cboG_Division
    German,                 // cboGerman
    Allies,                 // CboAllies
    LayoutImage,            // txtLayoutImage
};

inline constexpr std::array<MapScriptChoice, 11> allMapScriptChoices{
    MapScriptChoice::Ambient,
    MapScriptChoice::Soldier,
    MapScriptChoice::SoldierVariation,
    MapScriptChoice::Weather,
    MapScriptChoice::Division,
    MapScriptChoice::GermanWeather,
    MapScriptChoice::GermanSoldierVariation,
    MapScriptChoice::GermanDivision,
    MapScriptChoice::German,
    MapScriptChoice::Allies,
    MapScriptChoice::LayoutImage,
};

// What the map script maker offers the options window, which reaches it
// through the window registry without knowing its class.
class MapScriptChoices
{
public:
    virtual ~MapScriptChoices() = default;
    virtual void setChoiceEnabled(MapScriptChoice choice, bool enabled) = 0;
};

} // namespace tavrin

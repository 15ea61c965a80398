#pragma once

// The text, syntax and recorded positions behind a TCProcessParameters.

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "corekit80/archive/TCProcessParameters.h"
#include "corekit80/types/TCString.h"

class TCProcessParameters::TCProcessParamsImpl {
public:
    // Positions are inclusive indexes into the text; a value's run includes its quotes.
    struct Param {
        int section = 0;
        int nameStart = 0;
        int nameEnd = -1;
        int valueStart = -1; // -1: no value
        int valueEnd = -1;
        TCString name;
        TCString value;
        ParamValType type = PVT_NONE;
        int intValue = 0;
        double dblValue = 0.0;

        bool HasValue() const { return valueStart >= 0; }
        // The last position that belongs to the parameter.
        int End() const { return HasValue() ? valueEnd : nameEnd; }
    };
    // The name lies between the brackets; section 0, before the first header, has none.
    struct Section {
        int start = -1;
        int end = -1;
        TCString name;
    };
    using List = std::vector<TCString>;

    static TCProcessParamsImpl* Of(const TCProcessParameters& p) { return p.m_impl; }

    TCProcessParamsImpl() { Reset(); }
    void Reset();
    static void Add(List& list, const char* entry);
    static TCString First(const List& list) { return list.empty() ? TCString() : list.front(); }

    // Parsing (TCProcessParametersParse.cpp).
    int Parse(const char* text);
    // No text, parameters or sections but the unnamed first one; allocates nothing.
    void StartOver();
    // Starts over after a failed allocation: -1, with the reason when there is room for it.
    int OutOfMemory();
    // Types the value run of p and decodes it; false when unquoting found a malformed
    // escape.
    bool Evaluate(Param& p) const;
    // Length of the first entry of list that stands at p, or 0; nothing matches outside
    // the text.
    int MatchAt(const List& list, int p) const;
    bool EndsWithDelimiter() const;
    // Appends s to the sections and to the lookup when its name is new.
    void AddSection(Section s);

    // Editing (TCProcessParametersEdit.cpp).
    bool ValidIndex(int i) const { return i >= 0 && i < int(params.size()); }
    void ClearValue(int i);
    // Writes the first split string and valueText after the name and types the value.
    void SetValue(int i, const TCString& valueText);
    int Insert(const char* name, const char* section, bool allowDuplicate);
    void Delete(int i);
    bool DeleteSection(const char* section);

    // The text SetParamValStr writes for value (TCProcessParametersBuild.cpp).
    TCString QuotedIfNeeded(const char* value) const;

    bool unquote = true;
    bool decimalComma = false;
    List prefixes;
    List delimiters;
    List splitStrings;
    List commentStarts;
    TCString text;
    TCString errorText;
    int currentSection = 0;
    std::vector<Param> params;
    std::vector<Section> sections;
    // The first section of each name, for edits that look sections up one by one.
    std::unordered_map<std::string, int> firstSection;

private:
    // Text edits at pos that move the parameters from index firstParam on and the
    // sections whose header starts at or after the edit.
    void InsertText(int pos, const TCString& piece, size_t firstParam);
    void RemoveText(int pos, int n, size_t firstParam);
    void Shift(int from, int delta, size_t firstParam);
    // The parameters of section s are [first, last): where one more goes, and whether a
    // delimiter must be written before it.
    int InsertionPoint(int s, size_t first, size_t last, bool& delimiterFirst) const;
};

// Reading a bookmark's three attributes straight from its start tag.
//
// Nearly every bookmark element in a file is written exactly as the program
// writes it: `<a t="..." u="..." r="..."`. For such a tag the values are
// found in one pass, each taken in one step unless it holds an entity. A tag
// of any other shape is left to the XML engine's general attribute reading,
// which gives the same values for the written shape.
#pragma once

#include <string>
#include <string_view>

struct BookmarkRecord;

// `tag` is the element's start tag from its '<' up to the '>' or the '/' of
// "/>" that ends it. The title comes back with FilterInvalidChars applied, as
// a loaded title is kept. False, with the outputs in an unspecified state,
// when the tag is not of the written shape.
bool ReadWrittenBookmarkTag(std::string_view tag, std::string& title, std::string& url, std::string& remark);

// The same, placing the values into a text arena at `at` (RecordText::
// PlaceInArena) and giving them to `record`; `scratch` is reused for values
// that hold an entity. The tag itself may lie inside the arena's bytes at or
// after `at`: it is read whole before anything is placed, and what is placed
// never reaches past its end. False, with nothing placed and `record`
// untouched, when the tag is not of the written shape; `placed` counts the
// texts placed.
bool PlaceWrittenBookmarkTag(std::string_view tag, char*& at, std::string& scratch, BookmarkRecord& record,
                             std::size_t& placed);

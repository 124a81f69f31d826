// Reading a bookmark's three attributes straight from its start tag.
//
// Nearly every bookmark element in a file is written exactly as the program
// writes it: `<a t="..." u="..." r="..."`. For such a tag the values are
// taken in one pass, each copied in one step unless it holds an entity. A
// tag of any other shape is left to the XML engine's general attribute
// reading, which gives the same values for the written shape.
#pragma once

#include <string>
#include <string_view>

// `tag` is the element's start tag from its '<' up to the '>' or the '/' of
// "/>" that ends it. The title comes back with FilterInvalidChars applied, as
// a loaded title is kept. False, with the outputs in an unspecified state,
// when the tag is not of the written shape.
bool ReadWrittenBookmarkTag(std::string_view tag, std::string& title, std::string& url, std::string& remark);

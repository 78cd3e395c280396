// The clipboard's "HTML Format": the data other programs expect, and the
// plain text a script reads out of it.
//
// The data is UTF-8: a header of "Name:value" lines, each ended by CR LF,
//   Version:0.9
//   StartHTML:<10 digits>      where "<html>" begins
//   EndHTML:<10 digits>        the end of the data
//   StartFragment:<10 digits>  just after "<!--StartFragment-->"
//   EndFragment:<10 digits>    where "<!--EndFragment-->" begins
// then "<html><body>" CR LF "<!--StartFragment-->", the markup,
// "<!--EndFragment-->" CR LF "</body></html>". Every offset counts bytes
// from the start of the data.
#pragma once

#include <string>
#include <string_view>

namespace ovrix {

std::string HtmlFormatData(std::u16string_view markup);

// The text between the fragment markers, tags dropped: a "br" tag written
// with a blank after it ("<br />") and a "div" tag with attributes
// ("<div class=x>") break the line with CR LF, the latter not at the very
// start. Entities stay as written. Empty when a marker is missing or the
// end marker comes before the fragment.
std::u16string HtmlFragmentText(std::u16string_view data);

}  // namespace ovrix

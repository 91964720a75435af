#include "model/xml_document.h"

#include <gtest/gtest.h>

#include <string>

namespace qd::xml {
namespace {

TEST(XmlEscape, NamesMarkupAndRefersToControlBytesOnly) {
  using namespace std::string_literals;
  const struct {
    std::string text;
    std::string markup;
  } cases[] = {
      {"", ""},
      {"plain text", "plain text"},
      {"  blanks  ", "  blanks  "},
      {"a<b>&'c'\"", "a&lt;b&gt;&amp;&apos;c&apos;&quot;"},
      {"\r", "&#13;"},
      {"\n", "&#10;"},
      {"a\r\nb", "a&#13;&#10;b"},
      {"\t", "&#9;"},
      {"\x01\x1F", "&#1;&#31;"},
      {"\x7F", "\x7F"},
      {" !~", " !~"},
      {"\x80\xE9\xFF", "\x80\xE9\xFF"},
      {"ab\0cd"s, "ab"},
      {"\0x"s, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Escape(c.text), c.markup) << "text of " << c.text.size() << " bytes: " << c.text;
  }
}

TEST(XmlWriter, ValuesWithControlBytesStayOnTheirLine) {
  using namespace std::string_literals;
  Writer w;
  w.Begin("R", "A", "x\ty\n");
  w.Text("V", "1\r\n2");
  w.Text("E", "\0tail"s);
  w.End();
  EXPECT_EQ(w.Document(),
            "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n"
            "<R A=\"x&#9;y&#10;\">\r\n"
            "  <V>1&#13;&#10;2</V>\r\n"
            "  <E/>\r\n"
            "</R>\r\n");
}

}  // namespace
}  // namespace qd::xml

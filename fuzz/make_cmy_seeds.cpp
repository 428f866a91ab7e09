// Writes the seed corpus of fuzz_cmy_record: usage make_cmy_seeds <directory>.
// One record that reads whole, and one for each way a colour-mixer record is refused.

#include <cstdio>
#include <string>

#include "support/FileWriter.h"
#include "support/RecordWriter.h"

namespace {

using trovelin::testing::RecordWriter;

RecordWriter mixer()
{
    RecordWriter w;
    w.beginRecord("TCMY", "");
    return w;
}

bool writeSeed(const std::string& directory, const std::string& name, const RecordWriter& record)
{
    return trovelin::testing::writeFile(directory + "/" + name, record.bytes());
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <directory>\n", argv[0]);
        return 2;
    }
    const std::string directory = argv[1];
    bool ok = true;

    RecordWriter full = mixer();
    full.property("Left").integer(-5).property("Top").integer(300).property("Width").integer(120);
    full.property("Height").integer(90).property("Tag").integer(100000).property("Color").ident("clBtnFace");
    full.property("Color").int32(255).property("Cyan").string("\xFF").property("Magenta").string("\x10");
    full.property("Yellow").string("\x01").property("RGBset").boolean(true).property("Visible").boolean(false);
    full.property("Font.Name").string("Arial").property("Anchors").set({"akLeft"});
    full.property("Items").beginList().integer(1).end().end().end();
    ok &= writeSeed(directory, "all_values", full);

    RecordWriter child = mixer();
    child.end().beginChild("TLabel", "").end().end().end();
    ok &= writeSeed(directory, "child", child);

    RecordWriter named;
    named.beginRecord("TCMY", "CMY1").end().end();
    ok &= writeSeed(directory, "component_name", named);

    RecordWriter hint = mixer();
    hint.property("Cyan").string("\x02").property("Hint").string("mix").end().end();
    ok &= writeSeed(directory, "hint", hint);

    RecordWriter wide = mixer();
    wide.property("Width").int32(5).end().end();
    ok &= writeSeed(directory, "width_int32", wide);

    RecordWriter cut = mixer();
    cut.property("Magenta").string("ab").property("Left").int16(300);
    ok &= writeSeed(directory, "cut", cut);

    return ok ? 0 : 1;
}

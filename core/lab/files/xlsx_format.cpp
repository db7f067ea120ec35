#include "core/lab/files/xlsx_format.h"

#include <array>
#include <cstdint>

namespace bocavo::labo {
namespace {

constexpr char kXmlHead[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
constexpr char kMain[] = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr char kRelations[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr char kPackageRelations[] = "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr char kChartSpace[] = "http://schemas.openxmlformats.org/drawingml/2006/chart";
constexpr char kDrawing[] = "http://schemas.openxmlformats.org/drawingml/2006/main";
constexpr char kSheetDrawing[] =
    "http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing";
constexpr char kOfficeType[] = "application/vnd.openxmlformats-officedocument.";

std::string escaped(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// 'Fréquences A'!$B$2:$B$40, as formulas and charts name a range.
std::string rangeName(const Workbook& book, const SheetRange& range) {
    std::string name = "'" + book.sheets[range.sheet].name + "'!";
    const auto absolute = [&](int row) {
        const std::string cell = cellName(row, range.column);
        const auto digit = cell.find_first_of("0123456789");
        return "$" + cell.substr(0, digit) + "$" + cell.substr(digit);
    };
    name += absolute(range.first);
    if (range.last != range.first)
        name += ":" + absolute(range.last);
    return escaped(name);
}

std::string sheetXml(const Sheet& sheet) {
    std::string xml = kXmlHead;
    xml += "<worksheet xmlns=\"" + std::string(kMain) + "\" xmlns:r=\"" + kRelations + "\">";
    // The headings stay in sight while the generations scroll by.
    xml += "<sheetViews><sheetView workbookViewId=\"0\"><pane ySplit=\"1\" topLeftCell=\"A2\" "
           "activePane=\"bottomLeft\" state=\"frozen\"/></sheetView></sheetViews>";
    xml += "<sheetFormatPr defaultRowHeight=\"15\"/><cols><col min=\"1\" max=\"1\" width=\"" +
           std::to_string(sheet.labelWidth) + "\" customWidth=\"1\"/></cols><sheetData>";
    for (std::size_t r = 0; r < sheet.rows.size(); ++r) {
        const int row = static_cast<int>(r);
        xml += "<row r=\"" + std::to_string(row + 1) + "\">";
        for (std::size_t c = 0; c < sheet.rows[r].size(); ++c) {
            const SheetCell& cell = sheet.rows[r][c];
            const std::string at = "<c r=\"" + cellName(row, static_cast<int>(c)) + "\"";
            switch (cell.kind) {
            case SheetCell::Kind::Empty:
                break;
            case SheetCell::Kind::Number:
                xml += at + "><v>" + cell.value + "</v></c>";
                break;
            case SheetCell::Kind::Text:
            case SheetCell::Kind::Heading:
                xml += at + (cell.kind == SheetCell::Kind::Heading ? " s=\"1\"" : "") +
                       " t=\"inlineStr\"><is><t>" + escaped(cell.value) + "</t></is></c>";
                break;
            }
        }
        xml += "</row>";
    }
    xml += "</sheetData>";
    if (sheet.chart)
        xml += "<drawing r:id=\"rId1\"/>";
    return xml + "</worksheet>";
}

std::string axisTitle(const std::string& title) {
    return "<c:title><c:tx><c:rich><a:bodyPr/><a:p><a:r><a:t>" + escaped(title) +
           "</a:t></a:r></a:p></c:rich></c:tx><c:overlay val=\"0\"/></c:title>";
}

std::string chartXml(const Workbook& book, const LineChart& chart) {
    std::string xml = kXmlHead;
    xml += "<c:chartSpace xmlns:c=\"" + std::string(kChartSpace) + "\" xmlns:a=\"" + kDrawing +
           "\" xmlns:r=\"" + kRelations + "\"><c:chart>" + axisTitle(chart.title) +
           "<c:autoTitleDeleted val=\"0\"/><c:plotArea><c:layout/><c:lineChart>"
           "<c:grouping val=\"standard\"/><c:varyColors val=\"0\"/>";
    for (std::size_t i = 0; i < chart.series.size(); ++i) {
        const ChartSeries& s = chart.series[i];
        const std::string index = std::to_string(i);
        xml += "<c:ser><c:idx val=\"" + index + "\"/><c:order val=\"" + index +
               "\"/><c:tx><c:strRef><c:f>" + rangeName(book, s.name) + "</c:f></c:strRef></c:tx>";
        if (s.dashed)
            xml += "<c:spPr><a:ln><a:prstDash val=\"dash\"/></a:ln></c:spPr>";
        xml += "<c:marker><c:symbol val=\"none\"/></c:marker><c:cat><c:numRef><c:f>" +
               rangeName(book, s.categories) + "</c:f></c:numRef></c:cat><c:val><c:numRef><c:f>" +
               rangeName(book, s.values) + "</c:f></c:numRef></c:val><c:smooth val=\"0\"/></c:ser>";
    }
    xml += "<c:marker val=\"1\"/><c:axId val=\"1\"/><c:axId val=\"2\"/></c:lineChart>"
           "<c:catAx><c:axId val=\"1\"/><c:scaling><c:orientation val=\"minMax\"/></c:scaling>"
           "<c:delete val=\"0\"/><c:axPos val=\"b\"/>" +
           axisTitle(chart.categoryTitle) +
           "<c:numFmt formatCode=\"General\" sourceLinked=\"1\"/><c:tickLblPos val=\"nextTo\"/>"
           "<c:crossAx val=\"2\"/><c:crosses val=\"autoZero\"/><c:auto val=\"1\"/>"
           "<c:lblAlgn val=\"ctr\"/><c:lblOffset val=\"100\"/><c:noMultiLvlLbl val=\"0\"/>"
           "</c:catAx><c:valAx><c:axId val=\"2\"/><c:scaling><c:orientation val=\"minMax\"/>"
           "<c:max val=\"100\"/><c:min val=\"0\"/></c:scaling><c:delete val=\"0\"/>"
           "<c:axPos val=\"l\"/><c:majorGridlines/>" +
           axisTitle(chart.valueTitle) +
           "<c:numFmt formatCode=\"General\" sourceLinked=\"1\"/><c:tickLblPos val=\"nextTo\"/>"
           "<c:crossAx val=\"1\"/><c:crosses val=\"autoZero\"/><c:crossBetween val=\"between\"/>"
           "</c:valAx></c:plotArea><c:legend><c:legendPos val=\"r\"/><c:overlay val=\"0\"/>"
           "</c:legend><c:plotVisOnly val=\"1\"/></c:chart></c:chartSpace>";
    return xml;
}

std::string drawingXml(const LineChart& chart) {
    const auto corner = [](const char* name, int column, int row) {
        return std::string("<xdr:") + name + "><xdr:col>" + std::to_string(column) +
               "</xdr:col><xdr:colOff>0</xdr:colOff><xdr:row>" + std::to_string(row) +
               "</xdr:row><xdr:rowOff>0</xdr:rowOff></xdr:" + name + ">";
    };
    return kXmlHead + std::string("<xdr:wsDr xmlns:xdr=\"") + kSheetDrawing + "\" xmlns:a=\"" +
           kDrawing + "\"><xdr:twoCellAnchor>" + corner("from", chart.column + 1, 1) +
           corner("to", chart.column + 13, 26) +
           "<xdr:graphicFrame macro=\"\"><xdr:nvGraphicFramePr><xdr:cNvPr id=\"2\" "
           "name=\"Graphique 1\"/><xdr:cNvGraphicFramePr/></xdr:nvGraphicFramePr><xdr:xfrm>"
           "<a:off x=\"0\" y=\"0\"/><a:ext cx=\"0\" cy=\"0\"/></xdr:xfrm><a:graphic>"
           "<a:graphicData uri=\"" +
           kChartSpace + "\"><c:chart xmlns:c=\"" + kChartSpace + "\" xmlns:r=\"" + kRelations +
           "\" r:id=\"rId1\"/></a:graphicData></a:graphic></xdr:graphicFrame><xdr:clientData/>"
           "</xdr:twoCellAnchor></xdr:wsDr>";
}

std::string relationships(const std::vector<std::pair<std::string, std::string>>& targets) {
    std::string xml = kXmlHead + std::string("<Relationships xmlns=\"") + kPackageRelations + "\">";
    for (std::size_t i = 0; i < targets.size(); ++i)
        xml += "<Relationship Id=\"rId" + std::to_string(i + 1) + "\" Type=\"" + kRelations + "/" +
               targets[i].first + "\" Target=\"" + targets[i].second + "\"/>";
    return xml + "</Relationships>";
}

// Plain text for the default font, bold for the headings.
constexpr char kStyles[] =
    "<fonts count=\"2\"><font><sz val=\"11\"/><name val=\"Calibri\"/></font><font><b/>"
    "<sz val=\"11\"/><name val=\"Calibri\"/></font></fonts><fills count=\"2\"><fill>"
    "<patternFill patternType=\"none\"/></fill><fill><patternFill patternType=\"gray125\"/>"
    "</fill></fills><borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/>"
    "</border></borders><cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" "
    "borderId=\"0\"/></cellStyleXfs><cellXfs count=\"2\"><xf numFmtId=\"0\" fontId=\"0\" "
    "fillId=\"0\" borderId=\"0\" xfId=\"0\"/><xf numFmtId=\"0\" fontId=\"1\" fillId=\"0\" "
    "borderId=\"0\" xfId=\"0\" applyFont=\"1\"/></cellXfs><cellStyles count=\"1\">"
    "<cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>";

// The zip container: each entry stored as it is, with its CRC-32.
class Zip {
public:
    void add(const std::string& name, const std::string& data) {
        const std::uint32_t crc = crc32(data);
        const auto size = static_cast<std::uint32_t>(data.size());
        std::string entry;
        // version 2.0, no flags, stored, 1980-01-01 00:00 (fixed, so the bytes are too)
        const auto common = [&] {
            put16(entry, 20);
            put16(entry, 0);
            put16(entry, 0);
            put16(entry, 0);
            put16(entry, 0x21);
            put32(entry, crc);
            put32(entry, size);
            put32(entry, size);
            put16(entry, static_cast<std::uint16_t>(name.size()));
            put16(entry, 0);
        };
        put32(entry, 0x04034b50);
        common();
        const auto offset = static_cast<std::uint32_t>(bytes_.size());
        bytes_ += entry + name + data;
        entry.clear();
        put32(entry, 0x02014b50);
        put16(entry, 20);
        common();
        put16(entry, 0); // comment
        put16(entry, 0); // disk
        put16(entry, 0); // internal attributes
        put32(entry, 0); // external attributes
        put32(entry, offset);
        directory_ += entry + name;
        ++entries_;
    }

    std::string finish() {
        std::string end;
        put32(end, 0x06054b50);
        put16(end, 0);
        put16(end, 0);
        put16(end, entries_);
        put16(end, entries_);
        put32(end, static_cast<std::uint32_t>(directory_.size()));
        put32(end, static_cast<std::uint32_t>(bytes_.size()));
        put16(end, 0);
        return bytes_ + directory_ + end;
    }

private:
    static void put16(std::string& out, std::uint16_t value) {
        out += static_cast<char>(value & 0xff);
        out += static_cast<char>(value >> 8);
    }
    static void put32(std::string& out, std::uint32_t value) {
        put16(out, static_cast<std::uint16_t>(value & 0xffff));
        put16(out, static_cast<std::uint16_t>(value >> 16));
    }
    static std::uint32_t crc32(const std::string& data) {
        static const auto table = [] {
            std::array<std::uint32_t, 256> t{};
            for (std::uint32_t n = 0; n < 256; ++n) {
                std::uint32_t c = n;
                for (int k = 0; k < 8; ++k)
                    c = c & 1 ? 0xedb88320u ^ (c >> 1) : c >> 1;
                t[n] = c;
            }
            return t;
        }();
        std::uint32_t crc = 0xffffffffu;
        for (const char c : data)
            crc = table[(crc ^ static_cast<unsigned char>(c)) & 0xff] ^ (crc >> 8);
        return crc ^ 0xffffffffu;
    }

    std::string bytes_;
    std::string directory_;
    std::uint16_t entries_ = 0;
};

} // namespace

std::string cellName(int row, int column) {
    std::string letters;
    for (int c = column + 1; c > 0; c = (c - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (c - 1) % 26));
    return letters + std::to_string(row + 1);
}

std::string xlsxBytes(const Workbook& book) {
    const std::string office = kOfficeType;
    std::string types = kXmlHead +
                        std::string("<Types xmlns=\"http://schemas.openxmlformats.org/"
                                    "package/2006/content-types\">"
                                    "<Default Extension=\"rels\" ContentType=\"") +
                        "application/vnd.openxmlformats-package.relationships+xml\"/>"
                        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                        "<Override PartName=\"/xl/workbook.xml\" ContentType=\"" +
                        office +
                        "spreadsheetml.sheet.main+xml\"/>"
                        "<Override PartName=\"/xl/styles.xml\" ContentType=\"" +
                        office + "spreadsheetml.styles+xml\"/>";
    std::string sheets;
    std::vector<std::pair<std::string, std::string>> bookTargets;
    Zip zip;
    std::string parts; // added after the workbook's own files, in sheet order
    int charts = 0;
    for (std::size_t i = 0; i < book.sheets.size(); ++i) {
        const Sheet& sheet = book.sheets[i];
        const std::string n = std::to_string(i + 1);
        types += "<Override PartName=\"/xl/worksheets/sheet" + n + ".xml\" ContentType=\"" +
                 office + "spreadsheetml.worksheet+xml\"/>";
        sheets += "<sheet name=\"" + escaped(sheet.name) + "\" sheetId=\"" + n + "\" r:id=\"rId" +
                  n + "\"/>";
        bookTargets.push_back({"worksheet", "worksheets/sheet" + n + ".xml"});
        if (sheet.chart) {
            const std::string c = std::to_string(++charts);
            types += "<Override PartName=\"/xl/drawings/drawing" + c + ".xml\" ContentType=\"" +
                     office + "drawing+xml\"/><Override PartName=\"/xl/charts/chart" + c +
                     ".xml\" ContentType=\"" + office + "drawingml.chart+xml\"/>";
        }
    }
    bookTargets.push_back({"styles", "styles.xml"});
    zip.add("[Content_Types].xml", types + "</Types>");
    zip.add("_rels/.rels", relationships({{"officeDocument", "xl/workbook.xml"}}));
    zip.add("xl/workbook.xml", kXmlHead + std::string("<workbook xmlns=\"") + kMain +
                                   "\" xmlns:r=\"" + kRelations + "\"><sheets>" + sheets +
                                   "</sheets></workbook>");
    zip.add("xl/_rels/workbook.xml.rels", relationships(bookTargets));
    zip.add("xl/styles.xml", kXmlHead + std::string("<styleSheet xmlns=\"") + kMain + "\">" +
                                 kStyles + "</styleSheet>");
    charts = 0;
    for (std::size_t i = 0; i < book.sheets.size(); ++i) {
        const Sheet& sheet = book.sheets[i];
        const std::string n = std::to_string(i + 1);
        zip.add("xl/worksheets/sheet" + n + ".xml", sheetXml(sheet));
        if (!sheet.chart)
            continue;
        const std::string c = std::to_string(++charts);
        zip.add("xl/worksheets/_rels/sheet" + n + ".xml.rels",
                relationships({{"drawing", "../drawings/drawing" + c + ".xml"}}));
        zip.add("xl/drawings/drawing" + c + ".xml", drawingXml(*sheet.chart));
        zip.add("xl/drawings/_rels/drawing" + c + ".xml.rels",
                relationships({{"chart", "../charts/chart" + c + ".xml"}}));
        zip.add("xl/charts/chart" + c + ".xml", chartXml(book, *sheet.chart));
    }
    return zip.finish();
}

} // namespace bocavo::labo

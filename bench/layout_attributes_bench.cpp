// Parses a layout document of 300 widget elements and applies every attribute through an
// attribute table, as building a window from its layout does. Reports elements per second.
#include <benchmark/benchmark.h>

#include <string>

#include "DMApp.h"
#include "DMAttrTable.h"
#include "DMXml.h"

using namespace DM;

namespace {

class BenchWidgetAttr {
public:
    static const wchar_t* STRING_name;
    static const wchar_t* INT_id;
    static const wchar_t* bool_bvisible;
    static const wchar_t* STRING_text;
    static const wchar_t* COLOR_clrtext;
    static const wchar_t* RECT_rcpadd;
    static const wchar_t* SIZE_possize;
    static const wchar_t* STRING_skin;
};
DMATTR_DEFINE(BenchWidgetAttr, STRING_name)
DMATTR_DEFINE(BenchWidgetAttr, INT_id)
DMATTR_DEFINE(BenchWidgetAttr, bool_bvisible)
DMATTR_DEFINE(BenchWidgetAttr, STRING_text)
DMATTR_DEFINE(BenchWidgetAttr, COLOR_clrtext)
DMATTR_DEFINE(BenchWidgetAttr, RECT_rcpadd)
DMATTR_DEFINE(BenchWidgetAttr, SIZE_possize)
DMATTR_DEFINE(BenchWidgetAttr, STRING_skin)

class BenchWidget : public DMBase {
public:
    DMCode SetAttribute(const DMStringT& name, const DMStringT& value, bool loading) override {
        static const DMAttributeEntry<BenchWidget> kTable[] = {
            {&BenchWidgetAttr::STRING_name, &StringAttribute<&BenchWidget::m_strName, DMATTR_OK>},
            {&BenchWidgetAttr::INT_id, &IntAttribute<&BenchWidget::m_iId, DMATTR_OK>},
            {&BenchWidgetAttr::bool_bvisible, &BoolAttribute<&BenchWidget::m_bVisible, DMATTR_OK>},
            {&BenchWidgetAttr::STRING_text,
             &StringAttribute<&BenchWidget::m_strText, DMATTR_PAINT>},
            {&BenchWidgetAttr::COLOR_clrtext,
             &ColorAttribute<&BenchWidget::m_clrText, DMATTR_PAINT>},
            {&BenchWidgetAttr::RECT_rcpadd,
             &RectAttribute<&BenchWidget::m_rcPadd, DMATTR_PARENTLAYOUT>},
            {&BenchWidgetAttr::SIZE_possize, &SizeAttribute<&BenchWidget::m_size, DMATTR_OK>},
            {&BenchWidgetAttr::STRING_skin,
             &StringAttribute<&BenchWidget::m_strSkin, DMATTR_PAINT>},
        };
        DMCode code = DMATTR_FAIL;
        if (!DispatchAttribute(*this, kTable, name, value, loading, code)) {
            code = DMBase::SetAttribute(name, value, loading);
        }
        return OnAttributeFinished(name, value, loading, code);
    }

    DMStringT m_strName, m_strText, m_strSkin;
    int m_iId = 0;
    bool m_bVisible = true;
    DMColor m_clrText;
    RECT m_rcPadd{};
    SIZE m_size{};
};

constexpr int kElements = 300;

std::string LayoutText() {
    std::string xml = "<dm initsize=\"675,437\"><root name=\"root\">";
    for (int i = 0; i < kElements; ++i) {
        xml += "<button name=\"button" + std::to_string(i) + "\" id=\"" + std::to_string(i) +
               "\" bvisible=\"1\" text=\"下载 " + std::to_string(i) +
               "\" clrtext=\"pbgra(ff,ff,ff,ff)\" rcpadd=\"2,2,2,2\" possize=\"80,24\" "
               "skin=\"btnskin\" tiptext=\"unknown to the table\"/>";
    }
    return xml + "</root></dm>";
}

void Walk(DMXmlNode node, BenchWidget& widget, int& elements) {
    for (DMXmlNode child = node.FirstChild(); child.IsValid(); child = child.NextSibling()) {
        widget.InitDMData(child);
        ++elements;
        Walk(child, widget, elements);
    }
}

void BM_ParseLayoutAndApplyAttributes(benchmark::State& state) {
    DMApp app;
    std::string xml = LayoutText();
    BenchWidget widget;
    int elements = 0;
    for (auto _ : state) {
        DMXmlDocument document;
        document.LoadFromBuffer(xml.data(), xml.size());
        Walk(document.Root().FirstChild(), widget, elements);
    }
    benchmark::DoNotOptimize(widget.m_iId);
    state.SetItemsProcessed(elements);
}
BENCHMARK(BM_ParseLayoutAndApplyAttributes);

}  // namespace

BENCHMARK_MAIN();

#include "tools/linecode/handout_content.h"

#include "codes/code_properties.h"
#include "codes/energy_density.h"
#include "reference/doc_figures.h"
#include "tools/linecode/psd_chart.h"

#include <QLocale>
#include <QRegularExpression>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <optional>

namespace fs = std::filesystem;

namespace {

// The reference pages in the order of the two reference windows' tabs; the
// literature page closes the guide instead.
constexpr const char* kDtsPages[] = {"jon_line_code", "jon_nrz", "jon_abs", "jon_chpi", "jon_kvp3"};
constexpr const char* kFotsPages[] = {"help_line_path", "help_requirements", "help_nrz",
                                      "help_bil",       "help_cmi",          "help_ep1"};
constexpr const char* kLiteraturePage = "help_literature";

// The section titles; the test of the printed guide looks for each.
const char* const kSections[] = {
    "Цель работы",
    "Краткие теоретические сведения",
    "Сравнение линейных кодов",
    "Расчётные и измеренные спектры",
    "Порядок выполнения работы",
    "Содержание отчёта",
    "Контрольные вопросы",
    "Литература",
};

// The names the reference pages give the codes.
QString NameOf(LineCode code) {
    switch (code) {
    case LineCode::Pit:
        return QStringLiteral("ПИТ");
    case LineCode::Abs:
        return QStringLiteral("АБС");
    case LineCode::Chpi:
        return QStringLiteral("ЧПИ");
    case LineCode::Kvp3:
        return QStringLiteral("КВП-3");
    case LineCode::Nrz:
        return QStringLiteral("NRZ");
    case LineCode::BiL:
        return QStringLiteral("BI-L");
    case LineCode::Cmi:
        return QStringLiteral("CMI");
    case LineCode::Ep1:
        return QStringLiteral("EP-1");
    }
    return {};
}

// Where the codes are used: not a property of the encoder, so written here.
QString UseOf(LineCode code) {
    switch (code) {
    case LineCode::Pit:
        return QStringLiteral("—");
    case LineCode::Abs:
        return QStringLiteral("манчестерский код: локальные сети 10 Мбит/с (IEEE 802.3)");
    case LineCode::Chpi:
        return QStringLiteral("ЦСП T1, 1544 кбит/с");
    case LineCode::Kvp3:
        return QStringLiteral("стыки G.703: 2048, 8448, 34368 кбит/с");
    case LineCode::Nrz:
        return QStringLiteral(
            "внутри аппаратуры; со скремблированием — оптические стыки СЦИ (G.957)");
    case LineCode::BiL:
        return QStringLiteral("то же, что АБС (манчестерский код)");
    case LineCode::Cmi:
        return QStringLiteral("стыки G.703: 139264 кбит/с, электрический стык STM-1 155520 кбит/с");
    case LineCode::Ep1:
        return QStringLiteral("—");
    }
    return {};
}

const QLocale& Russian() {
    static const QLocale locale(QLocale::Russian, QLocale::Russia);
    return locale;
}

// A number the Russian way, trailing zeros dropped: 0,28; 1; 37.
QString Num(double v, int decimals = 2) {
    QString s = Russian().toString(v, 'f', decimals);
    if (s.contains(Russian().decimalPoint())) {
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(Russian().decimalPoint()))
            s.chop(1);
    }
    return s;
}

QString Escape(const QString& s) {
    return s.toHtmlEscaped();
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw HandoutError("cannot read " + path.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

QSize SvgSize(const QByteArray& svg, const std::string& name) {
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        throw HandoutError("the picture " + name + " is not a valid SVG");
    return renderer.defaultSize();
}

class Builder {
public:
    Builder(const fs::path& resources, std::size_t bits) : m_resources(resources) {
        for (LineCode code : kAllLineCodes) {
            m_content.spectra.push_back(MeasureSpectrum(code, bits));
            m_properties.push_back(PropertiesOf(code));
        }
    }

    HandoutContent Build() {
        TitlePage();
        Aim();
        Theory();
        Comparison();
        Spectra();
        Procedure();
        Report();
        Questions();
        Literature();
        m_content.html = QStringLiteral("<html><body>") + m_html + QStringLiteral("</body></html>");
        return std::move(m_content);
    }

private:
    const MeasuredSpectrum& SpectrumOf(LineCode code) const {
        return m_content.spectra[static_cast<std::size_t>(code)];
    }
    const CodeProperties& PropertiesOfCode(LineCode code) const {
        return m_properties[static_cast<std::size_t>(code)];
    }

    int AddFigure(HandoutFigure figure) {
        m_content.figures.push_back(std::move(figure));
        return static_cast<int>(m_content.figures.size()) - 1;
    }
    QString Image(int figure) const {
        const QSize size = m_content.figures[static_cast<std::size_t>(figure)].size;
        return QStringLiteral("<img src=\"handout:%1\" width=\"%2\" height=\"%3\">")
            .arg(figure)
            .arg(size.width())
            .arg(size.height());
    }
    int SvgFigure(const QByteArray& svg, const std::string& name) {
        return AddFigure({HandoutFigure::Svg, svg, LineCode::Nrz, SvgSize(svg, name)});
    }
    int ComputedFigure(const std::string& name) {
        try {
            const std::string svg = FigureSvg(name);
            return SvgFigure(QByteArray::fromStdString(svg), name);
        } catch (const FigureError& e) {
            throw HandoutError(e.what());
        }
    }

    // A numbered section, each but the first on a page of its own.
    void Section(int number) {
        const QString title = QString::fromUtf8(kSections[number - 1]);
        m_content.sections.push_back(title);
        m_html += QStringLiteral("<p class=\"section\"%1>%2. %3</p>\n")
                      .arg(number > 1 && number != 6 && number != 7
                               ? QStringLiteral(" style=\"page-break-before: always;\"")
                               : QString())
                      .arg(number)
                      .arg(Escape(title));
    }
    void Sub(const QString& number, const QString& title) {
        m_html += QStringLiteral("<p class=\"sub\">%1. %2</p>\n").arg(number, title);
    }
    void Para(const QString& text) { m_html += QStringLiteral("<p>") + text + "</p>\n"; }

    void TitlePage() {
        m_html += QStringLiteral(
            "<p class=\"titletop\" align=\"center\">Лаборатория систем передачи</p>"
            "<p class=\"titlegap\" align=\"center\">Лабораторная работа</p>"
            "<p class=\"title\" align=\"center\">Исследование линейных кодов ЦСП и ВОСП</p>"
            "<p class=\"titlesub\" align=\"center\">Методические указания к лабораторной "
            "работе</p>");
        // The title page's picture: a code from each workbench.
        m_html += QStringLiteral("<p align=\"center\" class=\"titlegap\">%1</p>"
                                 "<p class=\"caption\" align=\"center\">КВП-3, комбинация "
                                 "1000010000</p>")
                      .arg(Image(ComputedFigure("wave-kvp3-1000010000")));
        m_html += QStringLiteral("<p align=\"center\">%1</p><p class=\"caption\" "
                                 "align=\"center\">CMI, комбинация 101100</p>")
                      .arg(Image(ComputedFigure("wave-cmi-101100-w540")));
        m_html += QStringLiteral(
            "<p class=\"titlenote\" align=\"center\" style=\"page-break-after: always;\">"
            "Все временные диаграммы, примеры кодирования, расчётные кривые и измеренные "
            "спектры в этих указаниях вычислены программой лабораторной работы — теми же "
            "кодерами и формулами, что и на стендах, — при формировании указаний.</p>\n");
    }

    void Aim() {
        Section(1);
        Para(QStringLiteral(
            "Изучить принципы построения линейных кодов цифровых систем передачи по "
            "электрическому кабелю (ПИТ, АБС, ЧПИ, КВП-3) и волоконно-оптических систем "
            "передачи (NRZ, BI-L, CMI, EP-1); научиться строить линейный сигнал по заданной "
            "двоичной комбинации; исследовать энергетические спектры линейных сигналов и "
            "сравнить расчётные кривые стенда со спектрами, измеренными на длинных случайных "
            "последовательностях; оценить коды по требованиям к линейному сигналу: "
            "отсутствию постоянной составляющей, содержанию тактовой информации, возможности "
            "обнаружения ошибок и избыточности."));
        Para(QStringLiteral(
            "Работа выполняется на двух стендах программы: «Исследование кодов ЦСП» и "
            "«Исследование кодов ВОСП». Допуск к работе даёт тест из шести вопросов."));
    }

    // One reference page as a subsection: its heading numbered, its figure
    // numbers prefixed with the subsection's, its pictures drawn for print.
    void Page(const char* name, const QString& number) {
        const std::string raw = ReadText(m_resources / "docs" / (std::string(name) + ".html"));
        std::string expanded;
        try {
            expanded = ExpandSymbols(raw);
        } catch (const FigureError& e) {
            throw HandoutError(std::string(name) + ": " + e.what());
        }
        QString page = QString::fromStdString(expanded);
        const qsizetype open = page.indexOf(QLatin1String("<body>"));
        const qsizetype close = page.lastIndexOf(QLatin1String("</body>"));
        if (open < 0 || close < open)
            throw HandoutError(std::string(name) + ".html has no body");
        page = page.mid(open + 6, close - open - 6);

        static const QRegularExpression kHeading(QStringLiteral(R"(<p class="h1">(.*?)</p>)"));
        const QRegularExpressionMatch heading = kHeading.match(page);
        if (!heading.hasMatch())
            throw HandoutError(std::string(name) + ".html has no heading");
        page.replace(
            heading.capturedStart(), heading.capturedLength(),
            QStringLiteral("<p class=\"sub\">%1. %2</p>").arg(number, heading.captured(1)));

        static const QRegularExpression kFigureNumber(QStringLiteral(R"(([Рр]ис\.\s*)(\d+))"));
        page.replace(kFigureNumber, QStringLiteral("\\1") + number + QStringLiteral(".\\2"));

        static const QRegularExpression kPicture(
            QStringLiteral(R"re(src="qrc:/docs/(fig|pic)/([A-Za-z0-9_.-]+)")re"));
        QString out;
        qsizetype from = 0;
        for (const QRegularExpressionMatch& m : kPicture.globalMatch(page)) {
            out += page.mid(from, m.capturedStart() - from);
            const std::string file = m.captured(2).toStdString();
            int figure;
            if (m.captured(1) == QLatin1String("fig")) {
                figure = ComputedFigure(file.substr(0, file.size() - 4));
            } else {
                const std::string svg = ReadText(m_resources / "docs" / "pic" / file);
                figure = SvgFigure(QByteArray::fromStdString(svg), file);
            }
            const QSize size = m_content.figures[static_cast<std::size_t>(figure)].size;
            out += QStringLiteral("src=\"handout:%1\" width=\"%2\" height=\"%3\"")
                       .arg(figure)
                       .arg(size.width())
                       .arg(size.height());
            from = m.capturedEnd();
        }
        out += page.mid(from);
        m_html += out;
    }

    void Theory() {
        Section(2);
        Para(QStringLiteral(
            "Подразделы 2.1–2.5 относятся к стенду ЦСП, 2.6–2.11 — к стенду ВОСП; это тексты "
            "справочных страниц программы (кнопка «Справка» стенда). В подразделе 2.12 "
            "показано, как по правилам кода обнаруживаются ошибки."));
        int n = 1;
        for (const char* page : kDtsPages)
            Page(page, QStringLiteral("2.%1").arg(n++));
        for (const char* page : kFotsPages)
            Page(page, QStringLiteral("2.%1").arg(n++));
        ErrorExamples(QStringLiteral("2.%1").arg(n));
    }

    // Symbols as the pages write them: +1 −1 0, or 11 10 per bit.
    static QString Symbols(LineCode code, const std::vector<int>& s, std::size_t perBit) {
        QStringList words;
        for (std::size_t k = 0; k < s.size(); k += perBit) {
            QString w;
            for (std::size_t j = k; j < k + perBit && j < s.size(); ++j) {
                if (IsTernaryCode(code))
                    w += s[j] > 0   ? QStringLiteral("+1")
                         : s[j] < 0 ? QStringLiteral("−1")
                                    : QStringLiteral("0");
                else
                    w += QString::number(s[j]);
            }
            words << w;
        }
        return words.join(QLatin1Char(' '));
    }
    static bool IsTernaryCode(LineCode code) {
        return code == LineCode::Pit || code == LineCode::Chpi || code == LineCode::Kvp3;
    }

    // One worked example: the combination, its signal, the signal received
    // with one symbol changed, and where the receiver sees the error.
    struct ErrorExample {
        LineCode code;
        const char* bits;
        std::size_t hit; // 0-based symbol
        int received;    // its value as received
        const char* what;
    };

    void ErrorExamples(const QString& number) {
        Sub(number, QStringLiteral("Обнаружение ошибок по правилам кода"));
        Para(QStringLiteral(
            "Приёмник, знающий правила кода, замечает ошибку там, где принятый сигнал "
            "перестаёт совпадать с сигналом какой-либо комбинации. Ниже сигнал каждой "
            "комбинации построен кодером стенда, а место обнаружения найдено перебором всех "
            "комбинаций той же длины."));
        const ErrorExample examples[] = {
            {LineCode::Chpi, "110100", 2, -1, "третий символ принят как −1"},
            {LineCode::Kvp3, "1000010000", 5, 0, "импульс на шестой позиции потерян"},
            {LineCode::Cmi, "101100", 5, 1, "второй полутакт третьего бита принят как 1"},
        };
        m_html += QStringLiteral(
            "<table class=\"grid\" style=\"margin-bottom: 6px;\" border=\"1\" cellspacing=\"0\" "
            "cellpadding=\"3\" "
            "width=\"100%\"><tr><th>Код</th><th>Комбинация и сигнал</th><th>Ошибка</th>"
            "<th>Принято</th><th>Где видна ошибка</th></tr>\n");
        for (const ErrorExample& e : examples) {
            const Bits bits = *CombinationBits(std::string_view(e.bits));
            const std::vector<int> sent = Encode(e.code, bits);
            std::vector<int> received = sent;
            if (received[e.hit] == e.received)
                throw HandoutError("an error example changes nothing");
            received[e.hit] = e.received;
            const std::size_t perBit = sent.size() / bits.size();
            const std::optional<std::size_t> at = FirstInvalidSymbol(e.code, bits.size(), received);
            if (!at)
                throw HandoutError("an error example goes unseen");
            const QString where =
                perBit == 1
                    ? QStringLiteral("на %1-м символе").arg(*at + 1)
                    : QStringLiteral("на %1-м полутакте (бит %2)").arg(*at + 1).arg(*at / 2 + 1);
            m_html +=
                QStringLiteral("<tr><td>%1</td><td>%2 → %3</td><td>%4</td><td>%5</td>"
                               "<td>%6: %7</td></tr>\n")
                    .arg(NameOf(e.code), QString::fromLatin1(e.bits), Symbols(e.code, sent, perBit),
                         QString::fromUtf8(e.what), Symbols(e.code, received, perBit), where,
                         Reason(e.code, received, *at));
        }
        m_html += QStringLiteral("</table>\n");
        Para(QStringLiteral(
            "Код NRZ ошибок не обнаруживает: любая последовательность уровней — сигнал "
            "какой-либо комбинации. Потерянный в КВП-3 импульс виден не сразу, а лишь там, "
            "где набирается серия из четырёх нулей, которой кодер никогда не передаёт."));
    }

    // Why the receiver refuses the signal at `at`, from the code's properties.
    QString Reason(LineCode code, const std::vector<int>& r, std::size_t at) const {
        const CodeProperties& p = PropertiesOfCode(code);
        if (p.pulsesAlternate)
            return QStringLiteral("два импульса одной полярности подряд");
        if (p.ternary && p.longestQuietRun) {
            std::size_t zeros = 0;
            for (std::size_t k = at + 1; k-- > 0 && r[k] == 0;)
                ++zeros;
            if (zeros > *p.longestQuietRun)
                return QStringLiteral("%1 нуля подряд, а кодер даёт не более %2")
                    .arg(zeros)
                    .arg(*p.longestQuietRun);
        }
        if (p.symbolsPerBit == 2) {
            const std::size_t first = at / 2 * 2;
            const QString pair = QString::number(r[first]) + QString::number(r[first + 1]);
            if (p.forbiddenGroups.end() !=
                std::find(p.forbiddenGroups.begin(), p.forbiddenGroups.end(), pair.toStdString()))
                return QStringLiteral("пара %1 внутри такта запрещена").arg(pair);
        }
        return QStringLiteral("нарушено правило кода");
    }

    // Cells of the comparison table, each from the encoder or the spectrum.
    QString LevelsCell(const CodeProperties& p) const {
        return p.symbolsPerBit == 2 ? QStringLiteral("%1, два символа на бит").arg(p.levels)
                                    : QString::number(p.levels);
    }
    QString RedundancyCell(const CodeProperties& p) const {
        const QString r = p.redundancy < 1e-9 ? QStringLiteral("0")
                                              : Num(100 * p.redundancy, 0) + QStringLiteral(" %");
        return p.symbolsPerBit == 2 ? r + QStringLiteral(" (1B2B)") : r;
    }
    QString QuietCell(const CodeProperties& p) const {
        if (!p.longestQuietRun)
            return QStringLiteral("не ограничен");
        return Num(*p.longestQuietRun, 1) + QStringLiteral("<i>T</i>");
    }
    QString ClockCell(const CodeProperties& p, const MeasuredSpectrum& s) const {
        QString text;
        if (p.longestQuietRun)
            text = QStringLiteral("при любых данных");
        else
            text = p.ternary ? QStringLiteral("теряется на длинных сериях нулей")
                             : QStringLiteral("теряется на длинных сериях одинаковых символов");
        for (const SpectralLine& line : s.lines)
            if (line.x > 0)
                text +=
                    QStringLiteral("; дискретная составляющая на <i>fT</i> = %1").arg(Num(line.x));
        return text;
    }
    QString ErrorCell(LineCode code, const CodeProperties& p) const {
        QStringList parts;
        if (p.pulsesAlternate)
            parts << QStringLiteral("нарушение чередования полярности импульсов");
        if (!p.forbiddenGroups.empty()) {
            QStringList groups;
            for (const std::string& g : p.forbiddenGroups)
                groups << QStringLiteral("<span style=\"white-space: nowrap;\">%1</span>")
                              .arg(QString::fromStdString(g));
            parts << (p.ternary ? QStringLiteral("запрещённые пары символов: ")
                                : QStringLiteral("запрещены в такте: ")) +
                         groups.join(QStringLiteral(", "));
        }
        if (p.ternary && p.longestQuietRun)
            parts << QStringLiteral("серия из %1 нулей").arg(*p.longestQuietRun + 1);
        if (!p.forbiddenAfter.empty()) {
            QStringList after;
            for (const std::string& g : p.forbiddenAfter)
                after << QStringLiteral("<span style=\"white-space: nowrap;\">%1</span>")
                             .arg(QString::fromStdString(g));
            parts << QStringLiteral("не бывает сочетаний ") + after.join(QStringLiteral(", "));
        }
        if (p.balancedPairsAlternate)
            parts << QStringLiteral("пары 11 и 00 чередуются");
        // The one rule a survey of the signal cannot state by itself.
        if (code == LineCode::Kvp3)
            parts << QStringLiteral("соседние нарушения V — разной полярности");
        return parts.isEmpty() ? QStringLiteral("нет") : parts.join(QStringLiteral("; "));
    }

    // The first null of the measured curve after its maximum, rounded to 0.1.
    static double FirstNull(const MeasuredSpectrum& s) {
        std::size_t top = 0;
        double peak = 0;
        for (std::size_t k = 0; k < s.points.size(); ++k)
            if (s.points[k].y > peak) {
                peak = s.points[k].y;
                top = k;
            }
        for (std::size_t k = top + 1; k < s.points.size(); ++k) {
            const bool lowest = k + 1 == s.points.size() || s.points[k + 1].y >= s.points[k].y;
            if (s.points[k].y < 0.02 * peak && lowest)
                return std::round(s.points[k].x * 10) / 10;
        }
        return 0;
    }
    // Where the measured curve is largest; "0" when its top reaches down to
    // the lowest frequency, as NRZ's does.
    static bool TopAtZero(const MeasuredSpectrum& s) {
        double peak = 0;
        for (const PsdPoint& p : s.points)
            peak = std::max(peak, p.y);
        return MeasuredMaximumAt(s) <= 0.011 || s.points.front().y >= 0.9 * peak;
    }
    static QString MaximumText(const MeasuredSpectrum& s) {
        return TopAtZero(s) ? QStringLiteral("0") : Num(MeasuredMaximumAt(s));
    }
    QString NullCell(const MeasuredSpectrum& s) const {
        const double null = FirstNull(s);
        return QStringLiteral("%1; макс. ≈ %2")
            .arg(null > 0 ? Num(null) : QStringLiteral("—"), MaximumText(s));
    }

    void Comparison() {
        Section(3);
        Para(QStringLiteral(
            "Свойства, которые определяет правило кода, найдены перебором: кодер стенда "
            "обработал все комбинации из 12 и из 16 бит. Свойство, одинаковое для обеих "
            "длин, принадлежит коду; выросшее с длиной — не ограничено. Нуль и максимум "
            "спектра взяты из измеренного спектра (раздел 4), применение — из рекомендаций "
            "МСЭ-Т и литературы."));
        m_html += QStringLiteral(
            "<table class=\"grid\" style=\"margin-bottom: 6px;\" border=\"1\" cellspacing=\"0\" "
            "cellpadding=\"2\" "
            "width=\"100%\"><tr><th width=\"7%\">Код</th><th width=\"9%\">Уровней</th>"
            "<th width=\"10%\">Избыточ&shy;ность</th><th width=\"11%\">Посто&shy;янная "
            "состав&shy;ляющая</th><th width=\"9%\">Наиболь&shy;ший интервал без "
            "импуль&shy;сов (пере&shy;падов)</th><th width=\"12%\">Выделение тактовой "
            "частоты</th><th width=\"17%\">Обнаружение ошибок</th><th width=\"10%\">Первый нуль "
            "спектра, <i>fT</i></th><th width=\"15%\">Применение</th></tr>\n");
        for (LineCode code : kAllLineCodes) {
            const CodeProperties& p = PropertiesOfCode(code);
            const MeasuredSpectrum& s = SpectrumOf(code);
            m_html += QStringLiteral("<tr><td><b>%1</b></td><td>%2</td><td>%3</td><td>%4</td>"
                                     "<td>%5</td><td>%6</td><td>%7</td><td>%8</td><td>%9</td>"
                                     "</tr>\n")
                          .arg(NameOf(code), LevelsCell(p), RedundancyCell(p),
                               p.digitalSumSpan ? QStringLiteral("нет") : QStringLiteral("есть"),
                               QuietCell(p), ClockCell(p, s), ErrorCell(code, p), NullCell(s),
                               Escape(UseOf(code)));
        }
        m_html += QStringLiteral("</table>\n");
        Para(QStringLiteral(
            "<i>Пояснения.</i> Избыточность — доля пропускной способности линии, не несущая "
            "информации: 1 − 1/(<i>n</i> log<sub>2</sub> <i>M</i>) для <i>M</i> уровней и "
            "<i>n</i> символов на бит. Постоянной составляющей нет, если текущая цифровая "
            "сумма сигнала остаётся ограниченной при любых данных. Интервал без импульсов "
            "(для троичных кодов — серия нулей) или без перепада уровня (для двухуровневых) "
            "дан в тактовых интервалах <i>T</i>. Запись 1|11 означает такт 11 сразу после "
            "полутакта с уровнем 1."));
    }

    // What a model curve and the measured spectrum have and do not have in
    // common, in one sentence, from the numbers of both.
    QString Difference(LineCode code) const {
        const MeasuredSpectrum& s = SpectrumOf(code);
        std::vector<SpectrumPoint> model;
        for (int i = 1; i <= kSpectrumSamples; ++i)
            model.push_back(SpectrumValue(code, i));
        double modelTop = 0, measuredTop = 0;
        std::size_t modelAt = 0;
        for (std::size_t k = 0; k < model.size(); ++k)
            if (model[k].y > modelTop) {
                modelTop = model[k].y;
                modelAt = k;
            }
        for (const PsdPoint& p : s.points)
            measuredTop = std::max(measuredTop, p.y);

        // Relative difference where both are drawn: the measured point at
        // the model's x.
        double diff = 0, total = 0;
        for (const SpectrumPoint& m : model) {
            const auto k = static_cast<std::size_t>(std::lround(m.x * 100));
            if (k < 1 || std::abs(k / 100.0 - m.x) > 1e-9)
                continue;
            diff += std::abs(s.points[k - 1].y - m.y);
            total += m.y;
        }
        const double mismatch = diff / total;
        // Maxima of the model above half its top.
        QStringList peaks;
        for (std::size_t k = 1; k + 1 < model.size(); ++k)
            if (model[k].y >= model[k - 1].y && model[k].y > model[k + 1].y &&
                model[k].y > 0.5 * modelTop)
                peaks << Num(model[k].x);
        const QString measuredMax = TopAtZero(s)
                                        ? QStringLiteral("на нулевой частоте")
                                        : QStringLiteral("при <i>fT</i> ≈ %1").arg(MaximumText(s));
        const auto atClock = static_cast<std::size_t>(1 / s.binWidth);
        const double clockShare = s.scale * s.density[atClock] / measuredTop;
        const bool measuredDcNull = s.points.front().y < 0.03 * measuredTop;
        // The model's value at zero frequency, extrapolated from its first two
        // samples: КВП - 3's curve starts at 6 % of its top but falls to zero.
        const double modelAtZero =
            model[0].y - (model[1].y - model[0].y) * model[0].x / (model[1].x - model[0].x);
        const bool modelDcNull = modelAtZero < 0.02 * modelTop;
        const bool modelClockNull = code != LineCode::Kvp3 && model[99].y < 0.01 * modelTop;

        if (mismatch < 0.12) {
            return QStringLiteral(
                       "Кривая стенда совпадает с измеренным спектром (среднее расхождение "
                       "%1 %, в пределах погрешности оценки): максимум %2%3.")
                .arg(Num(100 * mismatch, 0), measuredMax,
                     measuredDcNull ? QStringLiteral(", на нулевой частоте — нуль") : QString());
        }
        QStringList modelSays, signalHas;
        if (modelAt == 0)
            modelSays << QStringLiteral("максимум на нулевой частоте");
        else if (peaks.size() > 1)
            modelSays << QStringLiteral("%1 максимума (<i>fT</i> ≈ %2)")
                             .arg(peaks.size())
                             .arg(peaks.join(QStringLiteral(" и ")));
        else if (std::count_if(model.begin(), model.end(),
                               [&](const SpectrumPoint& m) { return m.y > 0.5 * modelTop; }) < 4)
            // A top narrower than the grid's few steps: a pole of the formula.
            modelSays << QStringLiteral("острый пик при <i>fT</i> ≈ %1").arg(Num(model[modelAt].x));
        else
            modelSays << QStringLiteral("максимум при <i>fT</i> ≈ %1").arg(Num(model[modelAt].x));
        if (!modelDcNull && modelAt != 0)
            modelSays << QStringLiteral("заметное значение на нулевой частоте");
        if (modelClockNull && clockShare > 0.02)
            modelSays << QStringLiteral("нуль на <i>fT</i> = 1");
        if (code == LineCode::Kvp3)
            modelSays << QStringLiteral("обрывается на <i>fT</i> = 1");

        signalHas << (peaks.size() > 1 ? QStringLiteral("один максимум ") + measuredMax
                                       : QStringLiteral("максимум ") + measuredMax);
        if (measuredDcNull && !modelDcNull)
            signalHas << QStringLiteral("нуль на нулевой частоте");
        if (modelClockNull && clockShare > 0.02)
            signalHas << QStringLiteral("значение %1 % максимума на <i>fT</i> = 1 вместо нуля")
                             .arg(Num(100 * clockShare, 0));
        for (const SpectralLine& line : s.lines)
            if (line.x > 0)
                signalHas
                    << QStringLiteral("дискретную составляющую на <i>fT</i> = %1").arg(Num(line.x));
        if (code == LineCode::Kvp3)
            signalHas << QStringLiteral("небольшой второй лепесток между <i>fT</i> = 1 и 2");
        return QStringLiteral("Кривая стенда — упрощённая модель, а не спектр кода: у неё %1, "
                              "а измеренный спектр имеет %2.")
            .arg(modelSays.join(QStringLiteral(", ")), signalHas.join(QStringLiteral(", ")));
    }

    void Spectra() {
        Section(4);
        Para(QStringLiteral(
                 "Кнопка «Спектр» стенда строит кривую по замкнутой формуле. Чтобы проверить, "
                 "что она показывает, спектр каждого кода измерен: %1 случайных равновероятных "
                 "бит закодированы кодером стенда; линейный сигнал с прямоугольными символами "
                 "(троичные коды — уровни −1, 0, +1, двухуровневые — ±1) взят по 16 отсчётов "
                 "на бит; спектральная плотность мощности оценена методом Уэлча (окно Ханна, "
                 "отрезки по 400 бит, перекрытие 50 %). Периодическая часть сигнала — его "
                 "среднее по положению в такте — вычтена, её спектр дан отдельно как "
                 "дискретные составляющие. Для сравнения формы измеренная кривая приведена к "
                 "площади кривой стенда в её диапазоне частот.")
                 .arg(Russian().toString(static_cast<qulonglong>(SpectrumOf(LineCode::Nrz).bits))));
        m_html += QStringLiteral(
            "<table class=\"grid\" style=\"margin-bottom: 6px;\" border=\"1\" cellspacing=\"0\" "
            "cellpadding=\"3\" "
            "align=\"center\"><tr><th>Код</th><th>Максимум, <i>fT</i></th><th>Доля мощности "
            "ниже <i>fT</i> = 1</th><th>На <i>fT</i> = 1, <i>S</i>(<i>f</i>)/<i>T</i></th>"
            "<th>Дискретные составляющие</th></tr>\n");
        for (LineCode code : kAllLineCodes) {
            const MeasuredSpectrum& s = SpectrumOf(code);
            QStringList lines;
            for (const SpectralLine& line : s.lines)
                lines << QStringLiteral("<i>fT</i> = %1: %2 на сторону")
                             .arg(Num(line.x), Num(line.power, 3));
            m_html += QStringLiteral("<tr><td><b>%1</b></td><td align=\"center\">%2</td>"
                                     "<td align=\"center\">%3</td><td align=\"center\">%4</td>"
                                     "<td>%5</td></tr>\n")
                          .arg(NameOf(code), MaximumText(s), Num(MeasuredShareBelow(s, 1.0)),
                               Num(s.density[static_cast<std::size_t>(1 / s.binWidth)], 3),
                               lines.isEmpty() ? QStringLiteral("нет")
                                               : lines.join(QStringLiteral("; ")));
        }
        m_html += QStringLiteral("</table>\n");
        Para(QStringLiteral(
            "Значения <i>S</i>(<i>f</i>)/<i>T</i> и мощности составляющих даны для сигнала с "
            "уровнями ±1 (у троичных кодов −1, 0, +1); у однополярного оптического сигнала к "
            "ним добавляется лишь составляющая на нулевой частоте. Слева на рисунках — кривая "
            "стенда, справа — измеренный спектр; высота зелёного выброса равна мощности "
            "дискретной составляющей в масштабе кривой."));
        int k = 1;
        for (LineCode code : kAllLineCodes) {
            // Two codes to a page, so a heading never parts from its charts.
            if (k % 2 == 0)
                m_html += QStringLiteral("<p style=\"page-break-before: always;\"></p>");
            Sub(QStringLiteral("4.%1").arg(k), NameOf(code));
            const int model = AddFigure({HandoutFigure::ModelChart,
                                         {},
                                         code,
                                         PsdPictureSize(kHandoutChartSize, kModelOnly)});
            const int measured = AddFigure({HandoutFigure::MeasuredChart,
                                            {},
                                            code,
                                            PsdPictureSize(kHandoutChartSize, kMeasuredOnly)});
            m_html +=
                QStringLiteral("<table cellspacing=\"0\" cellpadding=\"0\" width=\"100%\"><tr>"
                               "<td valign=\"top\">%1</td><td width=\"10\"></td>"
                               "<td valign=\"top\">%2</td></tr></table>\n")
                    .arg(Image(model), Image(measured));
            m_html += QStringLiteral("<p class=\"caption\" align=\"center\">Рис. 4.%1. %2: "
                                     "кривая стенда и измеренный спектр</p>\n")
                          .arg(k)
                          .arg(NameOf(code));
            Para(Difference(code));
            ++k;
        }
    }

    void Procedure() {
        Section(5);
        Sub(QStringLiteral("5.1"), QStringLiteral("Допуск к работе"));
        Para(QStringLiteral(
            "В главном меню программы нажмите «Контрольные вопросы» и ответьте на шесть "
            "вопросов теста: выберите вариант ответа и нажмите «Готово!». При четырёх и более "
            "правильных ответах в меню появляются кнопки «Исследование кодов ЦСП» и "
            "«Исследование кодов ВОСП»."));
        Sub(QStringLiteral("5.2"), QStringLiteral("Стенд ЦСП"));
        m_html += QStringLiteral(
            "<ol><li>Нажмите «Исследование кодов ЦСП». Введите в поле комбинацию из 6–10 "
            "символов «0» и «1» (вариант задаёт преподаватель).</li>"
            "<li>Выберите код ПИТ и нажмите «Формирование». Зарисуйте сформированный "
            "линейный сигнал, сигнал в линии с аддитивной помехой и исходный сигнал. "
            "Проверьте сигнал по правилу кода (подраздел 2.2).</li>"
            "<li>Нажмите «Спектр» и зарисуйте энергетический спектр; отметьте максимум и "
            "нули.</li>"
            "<li>Повторите пункты 2 и 3 для кодов АБС, ЧПИ и КВП - 3. Для КВП-3 возьмите "
            "также комбинацию с сериями из четырёх нулей, например 1000010000, и отметьте "
            "импульсы B и V.</li>"
            "<li>Нажмите «Сравнить» и зарисуйте спектры БВН, АБС, ЧПИ и КВП-3 на одном "
            "графике.</li>"
            "<li>Сравните спектры стенда с измеренными (раздел 4) и отметьте, какие кривые "
            "стенда являются моделями.</li></ol>\n"
            "<p>Каждая панель формируется один раз за запуск программы; повторное нажатие "
            "кнопки кода лишь возвращает график сигнала. Кнопка «Справка» открывает "
            "справочные страницы стенда.</p>\n");
        Sub(QStringLiteral("5.3"), QStringLiteral("Стенд ВОСП"));
        m_html += QStringLiteral(
            "<ol><li>Вернитесь в меню и нажмите «Исследование кодов ВОСП». Введите ту же "
            "комбинацию.</li>"
            "<li>Для кодов NRZ, BI-L, CMI и EP-1 нажмите «Формирование» и «Спектр», "
            "зарисуйте сигналы и спектры. Прослушайте звуковое сопровождение каждого "
            "кода.</li>"
            "<li>Нажмите «Сравнить» и зарисуйте спектры четырёх кодов. Обратите внимание, что "
            "на этом графике кривая EP-1 растянута по оси частот вдвое.</li>"
            "<li>Нажмите «Схема» и пронаблюдайте, как линейный сигнал каждого кода "
            "проходит линейный тракт ВОСП.</li>"
            "<li>По таблице раздела 3 сравните коды ЦСП и ВОСП по требованиям к линейному "
            "коду.</li></ol>\n");
    }

    void Report() {
        Section(6);
        m_html += QStringLiteral(
            "<ol><li>Цель работы.</li>"
            "<li>Заданная комбинация и её линейные сигналы во всех восьми кодах, построенные "
            "вручную и проверенные на стендах; для КВП-3 — с отмеченными импульсами B и "
            "V.</li>"
            "<li>Энергетические спектры стендов и графики сравнения с отмеченными максимумами и "
            "нулями.</li>"
            "<li>Сравнение кривых стенда с измеренными спектрами для ПИТ, КВП-3, CMI и EP-1: "
            "в чём кривая стенда расходится с реальным спектром.</li>"
            "<li>Таблица свойств кодов (по образцу раздела 3) и выводы: какой код и почему "
            "лучше подходит для электрического кабеля и для оптической линии.</li>"
            "<li>Ответы на контрольные вопросы, указанные преподавателем.</li></ol>\n");
    }

    void Questions() {
        Section(7);
        const char* const questions[] = {
            "Какие задачи решает линейный код в линейном тракте ЦСП?",
            "Почему двоичный сигнал БВН (NRZ) не передают непосредственно по кабелю ЦСП?",
            "Закодируйте комбинацию 1100001000 кодом КВП-3 по правилу стенда. Какие импульсы "
            "являются импульсами B и V?",
            "Почему код КВП-3 называют кодом высокой плотности третьего порядка?",
            "Чем абсолютный биимпульсный сигнал (АБС) отличается от относительного (ОБС) и от "
            "какого недостатка АБС избавляет ОБС?",
            "Какие пары символов запрещены в кодах ПИТ, BI-L и CMI и как это используется "
            "для контроля ошибок?",
            "Как по сигналу ЧПИ обнаружить ошибку, не декодируя его? Приведите пример.",
            "Почему в ВОСП не применяют код ЧПИ и другие троичные коды?",
            "Где лежит первый нуль спектра кода BI-L и почему он вдвое дальше, чем у NRZ?",
            "Почему в спектре реального сигнала CMI есть дискретная составляющая на тактовой "
            "частоте и чем она полезна выделителю тактовой частоты?",
            "Какие кривые стендов совпадают с измеренными спектрами, а какие являются "
            "упрощёнными моделями? Чем модель КВП-3 отличается от реального спектра?",
            "Как двукратная избыточность кода 1B2B скажется на длине регенерационного "
            "участка, ограниченной дисперсией?",
            "Почему у NRZ на длинных сериях одинаковых символов теряется тактовая "
            "синхронизация и как с этим борются в оптических стыках СЦИ?",
            "Сравните избыточность троичных и двухуровневых кодов лабораторной работы. Почему "
            "троичные коды при той же скорости передачи требуют меньшей полосы частот?",
        };
        m_html += QStringLiteral("<ol>");
        for (const char* q : questions)
            m_html += QStringLiteral("<li>") + QString::fromUtf8(q) + QStringLiteral("</li>");
        m_html += QStringLiteral("</ol>\n");
    }

    void Literature() {
        Section(8);
        const QString page = QString::fromStdString(
            ReadText(m_resources / "docs" / (std::string(kLiteraturePage) + ".html")));
        static const QRegularExpression kList(QStringLiteral(R"(<ol[^>]*>(.*)</ol>)"),
                                              QRegularExpression::DotMatchesEverythingOption);
        const QRegularExpressionMatch list = kList.match(page);
        if (!list.hasMatch())
            throw HandoutError(std::string(kLiteraturePage) + ".html has no list");
        m_html += QStringLiteral("<ol class=\"literature\">") + list.captured(1) +
                  QStringLiteral("</ol>\n");
    }

    fs::path m_resources;
    HandoutContent m_content;
    std::vector<CodeProperties> m_properties;
    QString m_html;
};

} // namespace

HandoutContent BuildHandoutContent(const fs::path& resources, std::size_t bits) {
    return Builder(resources, bits).Build();
}

QStringList HandoutSectionTitles() {
    QStringList titles;
    for (const char* s : kSections)
        titles << QString::fromUtf8(s);
    return titles;
}

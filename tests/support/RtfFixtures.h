#pragma once

// Small decision templates written by hand in the manner of the programs
// that write the templates offices keep: a Polish Word, LibreOffice Writer
// and the rich-text control of the old Windows editor.

#include <QByteArray>

namespace varnel::test {

// Word: \ansicpg1250, fonts with \fcharset238, runs in groups with \rtlch /
// \ltrch noise, a header, the info and theme destinations, a placeholder
// split into runs by a bold letter, \uN with a code-page fallback, a field,
// and a two-cell table with the row properties after its cells.
inline const QByteArray WordFixture = QByteArrayLiteral(
    "{\\rtf1\\adeflang1025\\ansi\\ansicpg1250\\uc1\\adeff0\\deff0\\stshfdbch0\\stshfloch31506\\deflang1045"
    "{\\fonttbl{\\f0\\fbidi \\froman\\fcharset238\\fprq2{\\*\\panose 02020603050405020304}Times New Roman;}"
    "{\\f1\\fbidi \\fswiss\\fcharset238\\fprq2{\\*\\panose 020b0604020202020204}Arial;}\r\n"
    "{\\flomajor\\f31500\\fbidi \\froman\\fcharset238\\fprq2{\\*\\panose 02020603050405020304}Times New Roman;}}\r\n"
    "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red255\\green0\\blue0;}\r\n"
    "{\\*\\defchp \\fs22\\loch\\af31506\\hich\\af31506\\dbch\\af31505 }{\\*\\defpap \\ql \\li0\\ri0\\sa200\\sl276"
    "\\slmult1\\widctlpar\\itap0 }\r\n"
    "{\\stylesheet{\\ql \\li0\\ri0\\sa200\\sl276\\slmult1\\widctlpar\\itap0 \\rtlch\\fcs1 \\af0\\afs22\\alang1025 "
    "\\ltrch\\fcs0 \\fs22\\lang1045\\langfe1033\\snext0 \\sqformat \\spriority0 Normal;}{\\*\\cs10 \\additive "
    "\\ssemihidden Default Paragraph Font;}}\r\n"
    "{\\*\\rsidtbl \\rsid1194634\\rsid6819093}{\\mmathPr\\mmathFont34\\mbrkBin0}{\\info{\\title Decyzja}"
    "{\\author Urz\\'b9d}{\\operator Jan}{\\creatim\\yr2024\\mo3\\dy5\\hr10\\min2}{\\version2}}"
    "{\\*\\xmlnstbl {\\xmlns1 http://schemas.microsoft.com/office/word/2003/wordml}}\r\n"
    "\\paperw11906\\paperh16838\\margl1417\\margr1417\\margt1417\\margb1417\\gutter0\\ltrsect \r\n"
    "\\widowctrl\\ftnbj\\aenddoc\\viewkind1\\viewscale100\\rsidroot6819093 \\fet0{\\*\\wgrffmtfilter 2450}"
    "\\ltrpar \\sectd \\ltrsect\\linex0\\headery708\\footery708\\sftnbj {\\*\\pnseclvl1\\pnucrm\\pnstart1"
    "\\pnindent720\\pnhang {\\pntxta .}}\r\n"
    "{\\header \\ltrpar \\pard\\plain \\ltrpar\\s15\\qc \\li0\\ri0\\itap0 \\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 "
    "NAG\\'a3\\'d3WEK\\par }\r\n"
    "\\pard\\plain \\ltrpar\\qc \\li0\\ri0\\sa200\\sl276\\slmult1\\widctlpar\\itap0\\pararsid6819093 \\rtlch\\fcs1 "
    "\\af0\\afs22\\alang1025 \\ltrch\\fcs0 \\fs22\\lang1045\\langfe1033\\loch\\af31506\\hich\\af31506\\dbch"
    "\\af31505\\cgrid {\\rtlch\\fcs1 \\ab\\af0\\afs28 \\ltrch\\fcs0 \\b\\f0\\fs28\\insrsid6819093 DECYZJA}"
    "{\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\f0\\fs28\\insrsid6819093 \\par }\r\n"
    "\\pard \\ltrpar\\qj \\li0\\ri0\\sa200\\sl276\\slmult1\\widctlpar\\itap0 {\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 "
    "\\f0\\insrsid6819093 Przyznaj\\'ea si\\'ea Panu }{\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\f0\\cf3\\insrsid6819093 "
    "@<Imi}{\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\b\\f0\\cf3\\insrsid6819093 \\'ea}{\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 "
    "\\f0\\cf3\\insrsid6819093 >@}{\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\f0\\insrsid6819093  z SM \\u8222\\'84Zgoda"
    "\\u8221\\'94 \\endash  kwota 10\\~z\\'b3, strona }{\\field{\\*\\fldinst {\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 "
    "\\f0 PAGE }}{\\fldrslt {\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\f0\\lang1024\\langfe1024\\noproof 1}}}"
    "{\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\f0\\insrsid6819093 \\par }\r\n"
    "\\trowd \\irow0\\irowband0\\lastrow \\ltrrow\\ts11\\trgaph108\\trleft-108\\trbrdrt\\brdrs\\brdrw10 "
    "\\trbrdrl\\brdrs\\brdrw10 \\trbrdrb\\brdrs\\brdrw10 \\trbrdrr\\brdrs\\brdrw10 \\trftsWidth1\\trautofit1"
    "\\tblind0\\tblindtype3 \\clvertalt\\clbrdrt\\brdrs\\brdrw10 \\clbrdrl\\brdrs\\brdrw10 \\clbrdrb\\brdrs"
    "\\brdrw10 \\clbrdrr\\brdrs\\brdrw10 \\cltxlrtb\\clftsWidth3\\clwWidth4606\\clshdrawnil \\cellx4498\\clvertalt"
    "\\clbrdrt\\brdrs\\brdrw10 \\clbrdrl\\brdrs\\brdrw10 \\clbrdrb\\brdrs\\brdrw10 \\clbrdrr\\brdrs\\brdrw10 "
    "\\cltxlrtb\\clftsWidth3\\clwWidth4606\\clshdrawnil \\cellx9104\\pard\\plain \\ltrpar\\ql \\li0\\ri0\\widctlpar"
    "\\intbl\\yts11 \\rtlch\\fcs1 \\af0\\afs22 \\ltrch\\fcs0 \\fs22\\lang1045 {\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 "
    "\\f1\\insrsid6819093 Czynsz}{\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\insrsid6819093 \\cell }{\\rtlch\\fcs1 \\af0 "
    "\\ltrch\\fcs0 \\f1\\insrsid6819093 @<Czynsz>@}{\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\insrsid6819093 \\cell }"
    "\\pard\\plain \\ltrpar\\ql \\li0\\ri0\\sa200\\widctlpar\\intbl \\rtlch\\fcs1 \\af0\\afs22 \\ltrch\\fcs0 "
    "\\fs22\\lang1045 {\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\insrsid6819093 \\trowd \\irow0\\irowband0\\lastrow "
    "\\ltrrow\\ts11\\trgaph108\\trleft-108\\clbrdrt\\brdrs\\brdrw10 \\cellx4498\\clbrdrt\\brdrs\\brdrw10 "
    "\\cellx9104\\row }\r\n"
    "\\pard \\ltrpar\\qr \\li0\\ri0\\sa200\\widctlpar\\itap0 {\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\i\\f0\\fs20"
    "\\insrsid6819093 Kierownik}{\\rtlch\\fcs1 \\af0 \\ltrch\\fcs0 \\f0\\fs20\\insrsid6819093 \\par }\r\n"
    "{\\*\\themedata 504b030414000600080000002100e9de0fbfff0000001c020000130000005b436f6e74656e745f54797065735d2e786d6c}\r\n"
    "{\\*\\datastore 0105000002000000180000004d73786d6c322e534158584d4c5265616465722e362e30000000000000000000000e0000}}\r\n");

// LibreOffice Writer: no \ansicpg, fonts with \fcharset0 and a {\*\falt},
// every Polish letter as \uN with the fallback \'3f, \loch/\hich noise, a
// style sheet, page styles, a placeholder split by a change of style inside
// its name, an underlined placeholder, and a table of two rows.
inline const QByteArray LibreOfficeFixture = QByteArrayLiteral(
    "{\\rtf1\\ansi\\deff4\\adeflang1025\n"
    "{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}{\\f1\\froman\\fprq2\\fcharset2 Symbol;}"
    "{\\f2\\fswiss\\fprq2\\fcharset0 Arial;}{\\f3\\froman\\fprq2\\fcharset0 Liberation Serif{\\*\\falt Times New Roman};}"
    "{\\f4\\fswiss\\fprq2\\fcharset0 Liberation Sans{\\*\\falt Arial};}{\\f5\\fnil\\fprq2\\fcharset0 Noto Sans CJK SC;}}\n"
    "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;\\red128\\green128\\blue128;}\n"
    "{\\stylesheet{\\s0\\snext0\\dbch\\af5\\langfe2052\\dbch\\af6\\afs24\\alang1081\\loch\\f3\\hich\\af3\\fs24\\lang1045 "
    "Normalny;}\n{\\*\\cs15\\snext15 Znaki numeracji;}\n"
    "{\\s16\\sbasedon0\\snext17\\ql\\widctlpar\\sb240\\sa120\\keepn\\ltrpar\\cf0\\loch\\f4\\hich\\af4\\fs28\\lang1045 "
    "Nag\\u322\\'3f\\u243\\'3fwek;}\n}"
    "{\\*\\generator LibreOffice/7.4.7.2$Linux_X86_64 LibreOffice_project/40$Build-2}{\\info{\\creatim\\yr2024\\mo3"
    "\\dy5\\hr10\\min2}{\\revtim\\yr2024\\mo3\\dy5\\hr10\\min5}{\\printim\\yr0\\mo0\\dy0\\hr0\\min0}}{\\*\\userprops}"
    "\\deftab709\n\\hyphauto1\\viewscale100\n"
    "{\\*\\pgdsctbl\n{\\pgdsc0\\pgdscuse451\\pgwsxn11906\\pghsxn16838\\marglsxn1134\\margrsxn1134\\margtsxn1134"
    "\\margbsxn1134\\pgdscnxt0 Domy\\u347\\'3flny styl strony;}}\n"
    "\\formshade\\paperh16838\\paperw11906\\margl1134\\margr1134\\margt1134\\margb1134\\sectd\\sbknone\\sftnnar"
    "\\pgwsxn11906\\pghsxn16838\\marglsxn1134\\margrsxn1134\\margtsxn1134\\margbsxn1134\\ftnbj\\ftnstart1\n"
    "{\\*\\ftnsep\\chftnsep}\\pgndec\\pard\\plain \\s0\\rtlch\\af8\\afs24\\alang1081 \\ltrch\\lang1045\\langfe2052"
    "\\hich\\af3\\loch\\qc\\widctlpar\\ltrpar\\cf0\\f3\\fs24\\lang1045\\dbch\\af5\\langfe2052"
    "{\\b\\hich\\af3\\loch\\fs32\\loch\\f3 Decyzja nr }{\\cf2\\b\\hich\\af3\\loch\\fs32\\loch\\f3 @<Nr }"
    "{\\cf2\\i\\b\\hich\\af3\\loch\\fs32\\loch\\f3 wniosku>@}\n"
    "\\par \\pard\\plain \\s0\\rtlch\\af8\\afs24\\alang1081 \\ltrch\\lang1045\\langfe2052\\hich\\af3\\loch\\qj"
    "\\widctlpar\\ltrpar\\cf0\\f3\\fs24\\lang1045\\dbch\\af5\\langfe2052{\\rtlch \\ltrch\\loch\n"
    "Przyznaj\\u281\\'3f si\\u281\\'3f dodatek w kwocie }{\\ul\\ulc0\\rtlch \\ltrch\\loch "
    "@<Wyp\\u322\\'3fata (ca\\u322\\'3fo\\u347\\'3f\\u263\\'3f)>@}{\\ulnone\\rtlch \\ltrch\\loch  \\u8211\\'3f "
    "p\\u322\\'3fatne do \\u8222\\'3f10\\u8221\\'3f.}\n"
    "\\par \\trowd\\trql\\trleft0\\ltrrow\\trpaddft3\\trpaddt0\\trpaddfl3\\trpaddl0\\trpaddfb3\\trpaddb0\\trpaddfr3"
    "\\trpaddr0\\clbrdrt\\brdrs\\brdrw10\\brdrcf1\\clbrdrl\\brdrs\\brdrw10\\brdrcf1\\clbrdrb\\brdrs\\brdrw10\\brdrcf1"
    "\\cellx4819\\clbrdrt\\brdrs\\brdrw10\\brdrcf1\\clbrdrl\\brdrs\\brdrw10\\brdrcf1\\clbrdrb\\brdrs\\brdrw10\\brdrcf1"
    "\\clbrdrr\\brdrs\\brdrw10\\brdrcf1\\cellx9638\\pgndec\\pard\\plain \\s20\\rtlch\\af8\\afs24\\alang1081 \\ltrch"
    "\\lang1045\\hich\\af3\\loch\\widctlpar\\intbl\\ltrpar\\cf0\\f3\\fs24\\lang1045{\\rtlch \\ltrch\\loch\n"
    "Okres}\\cell\\pard\\plain \\s20\\rtlch\\af8\\afs24 \\ltrch\\lang1045\\loch\\widctlpar\\intbl\\ltrpar\\cf0\\f3"
    "\\fs24{\\rtlch \\ltrch\\loch\n@<Okres - od>@ \\u8211\\'3f @<Okres - do>@}\\cell\\row\\pard"
    "\\trowd\\trql\\trleft0\\ltrrow\\clbrdrl\\brdrs\\brdrw10\\brdrcf1\\clbrdrb\\brdrs\\brdrw10\\brdrcf1\\cellx4819"
    "\\clbrdrl\\brdrs\\brdrw10\\brdrcf1\\clbrdrb\\brdrs\\brdrw10\\brdrcf1\\clbrdrr\\brdrs\\brdrw10\\brdrcf1\\cellx9638"
    "\\pgndec\\pard\\plain \\s20\\rtlch\\af8\\afs24 \\ltrch\\loch\\widctlpar\\intbl\\ltrpar\\cf0\\f3\\fs24"
    "{\\rtlch \\ltrch\\loch\nKwota}\\cell\\pard\\plain \\s20\\loch\\widctlpar\\intbl\\ltrpar\\qr\\cf0\\f3\\fs24"
    "{\\rtlch \\ltrch\\loch\n@<Wyp\\u322\\'3fata (zarz\\u261\\'3fdca)>@}\\cell\\row\\pard\\pard\\plain \\s0\\rtlch\\af8"
    "\\afs24\\alang1081 \\ltrch\\lang1045\\loch\\ql\\widctlpar\\ltrpar\\cf0\\f3\\fs24\\lang1045{\\rtlch \\ltrch\\loch\n"
    "Koniec}\n\\par }");

// The rich-text control of the old Windows editor: no \ansicpg, \plain
// before every run, the code page from \fcharset238 of the font, a colour
// table whose first entry is black, \cf1 red placeholders, a tab.
inline const QByteArray OldEditorFixture = QByteArrayLiteral(
    "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fswiss MS Sans Serif;}{\\f1\\froman\\fcharset2 Symbol;}"
    "{\\f2\\froman\\fcharset238 Times New Roman CE;}{\\f3\\fswiss\\fcharset238 Arial CE;}}\r\n"
    "{\\colortbl\\red0\\green0\\blue0;\\red255\\green0\\blue0;}\r\n"
    "\\deflang1045\\pard\\qc\\plain\\f2\\fs28\\b DECYZJA\\plain\\f2\\fs24 \\par\r\n"
    "\\pard\\plain\\f2\\fs24 Pan(i) \\plain\\f2\\fs24\\cf1 @<Imi\\'ea>@\\plain\\f2\\fs24  \\plain\\f2\\fs24\\cf1 "
    "@<Nazwisko>@\\plain\\f2\\fs24  zamieszka\\'b3y(a) w \\plain\\f2\\fs24\\cf1 @<Adres>@\\plain\\f2\\fs24 \\par\r\n"
    "\\pard\\qr\\plain\\f2\\fs20\\i \\'a3\\'f3d\\'9f, dnia @<Dzisiejsza data>@\\par\r\n"
    "\\pard\\plain\\f2\\fs24 \\tab Kwota: \\plain\\f2\\fs24\\cf1 @<Wyp\\'b3ata (ca\\'b3o\\'9c\\'e6)>@\\plain\\f2\\fs24 "
    "\\par\r\n\\pard\\plain\\f0\\fs16 \\'af\\'f3\\'b3ty\\par\r\n}\r\n");

}  // namespace varnel::test

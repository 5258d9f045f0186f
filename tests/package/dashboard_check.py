"""Reads belun-folder's overview back and compares it with what the CSV reports and the checked
folder say, derived here on their own: the counts of files passed, with warnings only, with errors
and not checked; one table row per file, named as given, with its report's totals and a link that
leads to that report; summary.csv holding the same rows; the chart's codes and counts those of the
reports' rows, each linked to its entry of the copied catalogue; and no element but the page's own.

    dashboard_check.py REPORTS FOLDER SHOWN-FOLDER codes|no-codes
"""
import csv
import html.parser
import io
import os
import re
import sys
import urllib.parse

reports, folder, shown_folder, codes_known = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4] == 'codes'
ELEMENTS = {'html', 'head', 'meta', 'title', 'style', 'body', 'h1', 'h2', 'p', 'b', 'ul', 'li', 'svg', 'a',
            'g', 'text', 'rect', 'table', 'thead', 'tbody', 'tr', 'th', 'td', 'button', 'script'}


def fail(message):
    sys.exit('FAIL: ' + message)


class Page(html.parser.HTMLParser):
    """The parts of index.html: its elements, the counts, the table's rows, the chart's bars."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.elements, self.counts, self.rows, self.bars = [], {}, [], []
        self.text_of = None  # the list that collects the current text
        self.in_table = self.in_svg = self.in_cell = False

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        self.elements.append(tag)
        if tag == 'b' and attrs.get('id', '').startswith('pocet-'):
            self.count_id, self.text_of = attrs['id'], []
        elif tag == 'tbody':
            self.in_table = True
        elif tag == 'tr' and self.in_table:
            self.rows.append({'cells': [], 'href': None})
        elif tag == 'td' and self.in_table:
            self.rows[-1]['cells'].append('')
            self.in_cell = True
        elif tag == 'a' and self.in_table:
            self.rows[-1]['href'] = attrs['href']
        elif tag == 'svg':
            self.in_svg = True
        elif tag == 'a' and self.in_svg:
            self.bars.append({'href': attrs['href'], 'texts': []})
        elif tag == 'text' and self.in_svg:
            self.text_of = self.bars[-1]['texts']
            self.text_of.append('')

    def handle_endtag(self, tag):
        if tag == 'b' and self.text_of is not None and hasattr(self, 'count_id'):
            self.counts[self.count_id] = int(''.join(self.text_of))
            del self.count_id
            self.text_of = None
        elif tag == 'td':
            self.in_cell = False
        elif tag == 'tbody':
            self.in_table = False
        elif tag == 'svg':
            self.in_svg = False
        elif tag == 'text':
            self.text_of = None

    def handle_data(self, data):
        if hasattr(self, 'count_id'):
            self.text_of.append(data)
        elif self.in_svg and self.text_of is not None:
            self.text_of[-1] += data
        elif self.in_cell:
            self.rows[-1]['cells'][-1] += data


def shown(name_bytes):
    """A name as the page shows it: UTF-8 with U+FFFD for other bytes, control characters as '?'."""
    text = (os.fsencode(shown_folder) + b'/' + name_bytes).decode('utf-8', errors='replace')
    return re.sub(r'[\x00-\x1f\x7f]', '?', text)


def as_windows1250(name):
    """A name as the CSV files show it: UTF-8 converted, other bytes as they are."""
    try:
        return name.decode('utf-8').encode('cp1250', errors='replace')
    except UnicodeDecodeError:
        return name


def read_report(path):
    """E, W and the codes of a CSV report's rows."""
    with open(path, encoding='cp1250', newline='') as f:
        rows = list(csv.reader(f, delimiter=';'))
    totals = {r[0][len('Celkem chyb vahy '):][0]: int(r[1]) for r in rows if r and r[0].startswith('Celkem chyb vahy')}
    return totals['E'], totals['W'], [r[1] for r in rows[1:] if len(r) == 8]


with open(os.path.join(reports, 'index.html'), encoding='utf-8') as f:
    page = Page()
    page.feed(f.read())
if set(page.elements) - ELEMENTS or page.elements.count('script') != 1:
    fail('elements other than the page\'s own: %s' % sorted(set(page.elements) - ELEMENTS))

# What the folder and the reports say. A report is NAME.csv (the documented naming rule).
names = sorted(n for n in os.listdir(os.fsencode(folder)) if n.lower().endswith(b'.xml'))
expected, code_counts = {}, {}
for name in names:
    report = os.path.join(os.fsencode(reports), name + b'.csv')
    if os.path.exists(report) and not open(report, 'rb').read().startswith(b'mine'):
        e, w, codes = read_report(report)
        expected[shown(name)] = (str(e), str(w), name + b'.csv')
        for c in codes:
            code_counts[c] = code_counts.get(c, 0) + 1
    else:
        expected[shown(name)] = ('', '', None)
values = list(expected.values())
counts = {'pocet-ok': sum(v[0] == '0' and v[1] == '0' for v in values),
          'pocet-varovani': sum(v[0] == '0' and v[1] not in ('', '0') for v in values),
          'pocet-chyby': sum(v[0] not in ('', '0') for v in values),
          'pocet-nezkontrolovano': sum(v[0] == '' for v in values)}
if page.counts != counts:
    fail('counts %s, the reports say %s' % (page.counts, counts))

# The table: each file once, its counts those of the report its link leads to.
if len(page.rows) != len(names):
    fail('%d rows for %d files' % (len(page.rows), len(names)))
for row in page.rows:
    name, e, w, last = row['cells']
    if name not in expected:
        fail('a row for no file: %r (files: %r)' % (name, list(expected)))
    want_e, want_w, report = expected.pop(name)
    if (e, w) != (want_e, want_w):
        fail('%r: E %s W %s, its report says E %s W %s' % (name, e, w, want_e, want_w))
    if report is None:
        if row['href'] is not None or not last.startswith('nezkontrolován'):
            fail('%r: not checked, but the row says %r' % (name, last))
    elif urllib.parse.unquote_to_bytes(row['href']) != report or not os.path.isfile(
            os.path.join(os.fsencode(reports), urllib.parse.unquote_to_bytes(row['href']))):
        fail('%r: its link %r does not lead to its report' % (name, row['href']))

# summary.csv: the same rows, in the same order.
with open(os.path.join(reports, 'summary.csv'), 'rb') as f:
    table = list(csv.reader(io.StringIO(f.read().decode('cp1250'), newline=''), delimiter=';'))
if table[0] != ['Soubor', 'E', 'W', 'Protokol', 'Poznámka'] or len(table) != len(page.rows) + 1:
    fail('summary.csv: header %r, %d rows for %d files' % (table[0], len(table) - 1, len(page.rows)))
for line, row in zip(table[1:], page.rows):
    name, e, w, report, why = line
    link = row['href'] and as_windows1250(urllib.parse.unquote_to_bytes(row['href']))
    if [e, w] != row['cells'][1:3] or (report.encode('cp1250') or None) != link or bool(why) != (link is None):
        fail('summary.csv row %r differs from the page\'s %r' % (line, row))
    if '\ufffd' not in row['cells'][0] and re.sub(r'[\x00-\x1f]', '?', name) != row['cells'][0]:
        fail('summary.csv names %r, the page %r' % (name, row['cells'][0]))

# The chart: the most frequent codes of the reports' rows, each linked to its catalogue entry.
if codes_known:
    top = sorted(code_counts.items(), key=lambda kv: (-kv[1], kv[0]))[:15]
    bars = [(b['texts'][0], int(b['texts'][1])) for b in page.bars]
    if bars != top:
        fail('chart %s, the reports %s' % (bars, top))
    with open(os.path.join(reports, 'katalog.html'), encoding='utf-8') as f:
        catalogue = f.read()
    for bar, (code, _) in zip(page.bars, top):
        if bar['href'] != 'katalog.html#kod-' + code or ('id="kod-%s"' % code) not in catalogue:
            fail('the bar of %s links to %r, which the catalogue lacks' % (code, bar['href']))
elif page.bars:
    fail('a chart of codes that were not counted')
print('%d files, %d rows, %d bars: counts, links, summary.csv and chart agree with the reports' %
      (len(names), len(page.rows), len(page.bars)))

"""Prints a dBase table as python-dbfread reads it, for the interop tests.

Output, one item a line, fields separated by tabs:
  encoding <the codec dbfread chose from the language driver>
  field <name> <type> <length> <decimals>
  live <cell>...      (records not flagged deleted, in file order)
  deleted <cell>...   (records flagged deleted, in file order)
A cell is "-" for an empty value, else a kind letter, ":" and the value: s text (backslash, tab, CR and LF
escaped), i integer, f float (shortest text that reads back as the same double), d date (YYYY-MM-DD),
b True / False.
"""
import datetime
import sys

import dbfread


def cell(value):
    if value is None:
        return '-'
    if isinstance(value, bool):
        return 'b:%s' % value
    if isinstance(value, int):
        return 'i:%d' % value
    if isinstance(value, float):
        return 'f:%r' % value
    if isinstance(value, datetime.date):
        return 'd:%s' % value.isoformat()
    if isinstance(value, bytes):
        value = value.decode('latin-1')
    text = value.replace('\\', '\\\\').replace('\t', '\\t').replace('\r', '\\r').replace('\n', '\\n')
    return 's:' + text


def main():
    table = dbfread.DBF(sys.argv[1], load=True)
    out = sys.stdout
    out.write('encoding\t%s\n' % table.encoding)
    for field in table.fields:
        out.write('field\t%s\t%s\t%d\t%d\n' % (field.name, field.type, field.length, field.decimal_count))
    for kind, records in (('live', table.records), ('deleted', table.deleted)):
        for record in records:
            out.write('\t'.join([kind] + [cell(value) for value in record.values()]) + '\n')


sys.stdout.reconfigure(encoding='utf-8')
main()

#!/usr/bin/env python3
"""Writes the damaged and unusual backup files of tests/data/backup/, read by tests/backup/FileDanneggiatiTest.cpp,
and the seeds of the backup fuzz target in tests/data/fuzz/backup/.

    python3 tools/make-backup-cases.py

Each file is built here from the backup format: lines of Windows-1252 text ended by CR LF, items separated by
byte 0xA6, the table name first, then the 45 columns of COPE in their order. Two subjects serve as the good
rows: ROSSI MARIO (RSSMRA80A01H501U, a natural person) and a company (01234567890). The test names, for
each file, what the restore must say and what the register must hold afterwards.
"""
import os
import random

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
FOLDER = os.path.join(ROOT, "tests", "data", "backup")
SEEDS = os.path.join(ROOT, "tests", "data", "fuzz", "backup")
SEP = "\u00a6"
KEY = 3  # the program's scrambling key

COLUMNS = (
    "OCOD OTIPOSOGD oTIPOSOG OSTP orag OSCOM OSPRO ODES OCOG ONOME OSEX ONDT oncom onpro ORECF ORECOG ORENOME "
    "ORESEX OREDTNAS oRENCOM oREnpro OREEMAIL ORETEL OPEEMAIL OPEDATAI OPEDATAF OPEGESTORE odtcanc OMC1 OMC2 "
    "OMC3 OMOC1 OMOC2 OMOC3 OSICF OSIRAG OSICOM OSIPRO OITTCF oitt1 oitt2 Ocf ONPROG OTIPOCOM1 OTIPOCOM2"
).split()
assert len(COLUMNS) == 45

ROSSI = dict(
    OCOD="RSSMRA80A01H501U", OTIPOSOGD="13=OICR", oTIPOSOG="13", OSTP="0", ODES="ROSSI MARIO", OCOG="ROSSI",
    ONOME="MARIO", OSEX="M", ONDT="05/03/1980", oncom="ROMA", onpro="RM", ORECF="BNCLGU70B02F205X",
    ORECOG="BIANCHI", ORENOME="LUIGI", ORESEX="M", OREDTNAS="02/02/1970", oRENCOM="MILANO", oREnpro="MI",
    OREEMAIL="LUIGI@ESEMPIO.IT", ORETEL="02 1234567", OPEEMAIL="ROSSI@PEC.ESEMPIO.IT", OPEDATAI="01/02/2021",
    OPEGESTORE="ARUBA", OMC1="0", OMC2="0", OMC3="0", OMOC1="1", OMOC2="0", OMOC3="1", OITTCF="VRDGPP75B02L219K",
    oitt1="0", oitt2="-1", ONPROG="001", OTIPOCOM1="-1", OTIPOCOM2="0",
)
SOCIETA = dict(
    OCOD="01234567890", OTIPOSOGD="14=SGR", oTIPOSOG="14", OSTP="1", orag="SOCIETA' DELL'ACQUA € SRL",
    OSCOM="L'AQUILA", OSPRO="AQ", ODES="SOCIETA' DELL'ACQUA € SRL", ONDT="", ORECF="RSSMRA80A01H501U",
    ORECOG="ROSSI", ORENOME="MARIO", ORESEX="M", OREDTNAS="05/03/1980", oRENCOM="ROMA", oREnpro="RM",
    OPEEMAIL="ACQUA@PEC.ESEMPIO.IT", OPEDATAI="15/06/2019", OPEDATAF="00:00:00", OPEGESTORE="POSTE",
    OMC1="0", OMC2="0", OMC3="0", OMOC1="1", OMOC2="1", OMOC3="0", oitt1="-1", oitt2="0", ONPROG="001",
    OTIPOCOM1="-1", OTIPOCOM2="0",
)


def line(subject, table="COPE", **changes):
    values = dict(subject, **changes)
    return SEP + table + "".join(SEP + values.get(c, "") for c in COLUMNS)


def scramble(text, key=KEY):
    """The line scrambled as the program does it, item by item, each counting its positions from 1; as bytes."""
    items = text.encode("cp1252").split(text[0].encode("cp1252"))
    out = [items[0]]
    for item in items[1:]:
        shifted = bytearray(item)
        for i in range(1, len(item.strip(b" ")) + 1):
            shifted[i - 1] += key + i
            assert shifted[i - 1] not in (0xA6, 10, 13)
        out.append(bytes(shifted))
    return b"\xa6".join(out)


def cp1252(lines, end="\r\n"):
    return b"".join((l if isinstance(l, bytes) else l.encode("cp1252")) + end.encode() for l in lines)


GOOD = [line(ROSSI), line(SOCIETA)]

CASES = {
    "empty.REI": b"",
    "binary.REI": bytes(random.Random(20240131).randrange(256) for _ in range(2048)),
    "utf8-bom.REI": b"\xef\xbb\xbf" + "".join(l + "\r\n" for l in GOOD).encode("utf-8"),
    "utf8-no-bom.REI": "".join(l + "\r\n" for l in GOOD).encode("utf-8"),
    "utf16le.REI": b"\xff\xfe" + "".join(l + "\r\n" for l in GOOD).encode("utf-16-le"),
    "ctab-first.REI": cp1252([SEP + "CTAB" + SEP + "TPI" + SEP + "13" + SEP + "OICR"] + GOOD),
    "lowercase-table.REI": cp1252([line(ROSSI, "cope"), line(SOCIETA)]),
    "wrong-key.REI": cp1252([scramble(l, 5) for l in GOOD]),
    "lf-only.REI": cp1252(GOOD, "\n"),
    "cr-only.REI": cp1252(GOOD, "\r"),
    "no-final-line-end.REI": cp1252(GOOD)[:-2],
    "truncated-last-line.REI": cp1252(GOOD)[: len(cp1252(GOOD[:1])) + 120],
    "blank-lines.REI": cp1252([GOOD[0], "", "   ", "", GOOD[1], "  "]),
    "nul-in-value.REI": cp1252([line(ROSSI, ORECOG="BIAN\0CHI"), GOOD[1]]),
    "nul-padding.REI": cp1252(GOOD) + b"\0" * 512,
    "unknown-table.REI": cp1252([GOOD[0], SEP + "ANAGRAFE" + SEP + "RSSMRA80A01H501U" + SEP + "X", GOOD[1]]),
    "injected-table-name.REI": cp1252([GOOD[0], line(SOCIETA, "COPE; DROP TABLE CTAB")]),
    "more-items.REI": cp1252([GOOD[0] + SEP + "IN PIU" + SEP + "ANCORA", GOOD[1]]),
    "fewer-items.REI": cp1252([SEP.join(GOOD[0].split(SEP)[:44]), GOOD[1]]),
    "bad-date.REI": cp1252([line(ROSSI, ONDT="31/02/1980"), GOOD[1]]),
    "iso-date.REI": cp1252([line(ROSSI, ONDT="1980-03-05"), GOOD[1]]),
    "bad-number.REI": cp1252([line(ROSSI, OMOC1="SI"), GOOD[1]]),
    "too-long-code.REI": cp1252([line(ROSSI, OCOD="RSSMRA80A01H501UXXXX"), GOOD[1]]),
    "missing-code.REI": cp1252([GOOD[0], SEP + "COPE", GOOD[1]]),
    "duplicate-row.REI": cp1252([GOOD[0], line(ROSSI, ODES="ROSSI MARIO DOPPIO"), GOOD[1]]),
    "scrambled-with-plain-line.REI": cp1252([scramble(GOOD[0]), GOOD[1]]),
    "plain-with-scrambled-line.REI": cp1252([GOOD[0], scramble(GOOD[1])]),
    "ctab-short.REI": cp1252([GOOD[0], SEP + "CTAB" + SEP + "TPI", GOOD[1]]),
    # A code and nothing else; a blank progressive; a blank code: each line is skipped, its subject kept.
    "code-only.REI": cp1252(
        [SEP + "COPE" + SEP + ROSSI["OCOD"] + SEP, line(SOCIETA, ONPROG="   "), line(SOCIETA, OCOD=" "), GOOD[1]]
    ),
    # Codes that differ by the case of an accented letter are two subjects; by an ASCII letter, one.
    "accented-codes.REI": cp1252(
        [GOOD[0], line(ROSSI, OCOD="ÀBC"), line(ROSSI, OCOD="àBC", ONPROG="002"),
         line(ROSSI, OCOD="àbc", ONPROG="002", ODES="DOPPIO"), line(ROSSI, OCOD="ŒUVRE"), GOOD[1]]
    ),
    # Whole numbers past the 53 bits of a double, past 64 bits, and items that are no whole number.
    "whole-numbers.REI": cp1252(
        [line(ROSSI, OMOC1="9007199254740993", OMOC2="9223372036854775807", OMOC3="9223372036854775808"),
         line(SOCIETA, OMOC1="1e300", OMOC2="nan", OMOC3="-2,5")]
    ),
    # A first code far longer than a file name may be.
    "long-code.REI": cp1252([line(ROSSI, OCOD=ROSSI["OCOD"] + "X" * 284), GOOD[0], GOOD[1]]),
}

# Good files, each exercising another part of the reader, for the fuzzer to start from.
SEED_LINES = [
    GOOD[0],
    line(ROSSI, ONPROG="002", ONDT="00:00:00", OMOC1="", OREDTNAS="5/3/80"),
    GOOD[1],
    line(SOCIETA, OCOD="  99999999999 ", ONDT="31/12/1999", OMOC2="1,5"),
    SEP + "CTAB" + SEP + "ITT" + SEP + "01" + SEP + "12345678901XF01/02/2020",
    SEP + "CTAB" + SEP + "ITT" + SEP + "02" + SEP + "12345678901F01/02/2020",
    SEP + "CTAB" + SEP + "TPI" + SEP + "99" + SEP + "ALTRO",
]
SEED_CASES = {
    "seed-plain.REI": cp1252(GOOD),
    "seed-scrambled.REI": cp1252([scramble(l) for l in GOOD]),
    "seed-mixed.REI": cp1252(SEED_LINES),
    "seed-accented.REI": cp1252(
        [GOOD[0], line(ROSSI, OCOD="ÀBC"), line(ROSSI, OCOD="àbc", ONPROG="002"), line(SOCIETA, OCOD="œuvre")]
    ),
}


def write_all(folder, cases):
    os.makedirs(folder, exist_ok=True)
    for name, content in sorted(cases.items()):
        with open(os.path.join(folder, name), "wb") as out:
            out.write(content)
    print(f"{len(cases)} files in {folder}")


def main():
    write_all(FOLDER, CASES)
    write_all(SEEDS, SEED_CASES)


if __name__ == "__main__":
    main()

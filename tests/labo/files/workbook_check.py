"""bocavo-labo's workbook read back by a real reader (openpyxl, not read-only,
so that it sees the chart) and compared, cell by cell, with the CSV of the same
run; then the size refusal, and writes that fail or go to a device or a pipe.

Usage: workbook_check.py BOCAVO_LABO SCRATCH_FOLDER
"""

import csv
import io
import os
import resource
import shutil
import signal
import subprocess
import sys

import openpyxl
from openpyxl.chart import LineChart

LABO, SCRATCH = os.path.abspath(sys.argv[1]), sys.argv[2]
MODELS = {"protocole": "Protocole de la classe", "wright-fisher": "Modèle idéal (Wright-Fisher)"}
# The summary's figures are rounded half up as they are written: a mean
# frequency as the CSV writes a frequency, to 4 decimals of a percent, the
# mean heterozygosity to 6 decimals. Each is within half its last place (and
# a float's error) of the figure computed here.
FREQUENCY_TOLERANCE = 0.5e-4 + 1e-9
HETEROZYGOSITY_TOLERANCE = 0.5e-6 + 1e-12


def run(args, **kwargs):
    return subprocess.run([LABO] + args, capture_output=True, cwd=SCRATCH, **kwargs)


def check(condition, what):
    if not condition:
        raise AssertionError(what)


def read_csv(path):
    """{(class, generation): [count of allele 1..K]}, and each frequency's text."""
    counts, texts = {}, {}
    with open(path, newline="", encoding="utf-8") as f:
        for row in csv.DictReader(f):
            key = (int(row["classe"]), int(row["génération"]))
            counts.setdefault(key, []).append(int(row["effectif"]))
            texts[key + (int(row["allèle"]),)] = row["fréquence"]
    return counts, texts


def rows_of(sheet):
    return [list(row) for row in sheet.iter_rows(values_only=True)]


def check_frequencies(sheet, texts, classes, alleles, generations):
    rows = rows_of(sheet)
    wanted = ["génération"] + [f"classe {c}, allèle {k} (%)"
                               for c in range(1, classes + 1) for k in range(1, alleles + 1)]
    check(rows[0] == wanted, f"headings {rows[0][:5]}")
    check([row[0] for row in rows[1:]] == generations, "the CSV's generations, in order")
    for r, g in enumerate(generations, start=2):
        for c in range(1, classes + 1):
            for k in range(1, alleles + 1):
                cell = sheet.cell(row=r, column=1 + (c - 1) * alleles + k)
                check(cell.data_type == "n", f"{cell.coordinate} is a number cell")
                check(cell.value == float(texts[(c, g, k)]),
                      f"{cell.coordinate}: {cell.value} against the CSV's {texts[(c, g, k)]}")
    check(sheet.max_row == len(generations) + 1 and sheet.max_column == len(wanted),
          "nothing beyond the CSV's cells")


def check_summary(sheet, counts, classes, alleles, copies, generations):
    rows = rows_of(sheet)
    check(len(rows) == len(generations) + 1 and len(rows[0]) == 2 + 3 * alleles, "summary's size")
    for row, g in zip(rows[1:], generations):
        per_class = [counts[(c, g)] for c in range(1, classes + 1)]
        mean = [100 * sum(n[k] for n in per_class) / (classes * copies) for k in range(alleles)]
        fixed = [sum(n[k] == copies for n in per_class) for k in range(alleles)]
        lost = [sum(n[k] == 0 for n in per_class) for k in range(alleles)]
        h = sum(1 - sum((x / copies) ** 2 for x in n) for n in per_class) / classes
        check(row[0] == g, f"summary's generation {row[0]} against {g}")
        for got, want in zip(row[1:1 + alleles], mean):
            check(abs(got - want) <= FREQUENCY_TOLERANCE, f"generation {g}: {got} against {want}")
        check(abs(row[-1] - h) <= HETEROZYGOSITY_TOLERANCE, f"generation {g}: H {row[-1]}, {h}")
        check(row[1 + alleles:1 + 3 * alleles] == fixed + lost, f"generation {g}: fixed, lost")
    charts = sheet._charts
    check(len(charts) == 1 and isinstance(charts[0], LineChart), "one line chart")
    refs = [(s.tx.strRef.f, s.val.numRef.f) for s in charts[0].series]
    last = len(generations) + 1
    check(refs == [(f"'Résumé'!${chr(ord('A') + k)}$1", f"'Résumé'!${chr(ord('A') + k)}$2:"
                    f"${chr(ord('A') + k)}${last}") for k in range(1, alleles + 1)],
          f"the chart plots the mean frequencies: {refs}")


# Each run: its options, then what the parameters sheet must say.
RUNS = [
    (["--classes", "3", "--generations", "25", "--seed", "1993"],
     dict(n=20, model="protocole", k=4, urn=[10] * 4, fitness=[100] * 4, u=0, m=0, every=1)),
    (["--classes", "5", "--generations", "30", "--seed", "7", "--model", "wright-fisher",
      "--individuals", "30", "--alleles", "2", "--mutation", "0.01", "--migration", "0.1",
      "--every", "4"],
     dict(n=30, model="wright-fisher", k=2, urn=[30, 30], fitness=[100] * 2, u=0.01, m=0.1,
          every=4)),
    (["--classes", "4", "--generations", "40", "--seed", "12", "--alleles", "3",
      "--individuals", "10", "--urn", "2,8,10", "--fitness", "150,100,80", "--every", "3"],
     dict(n=10, model="protocole", k=3, urn=[2, 8, 10], fitness=[150, 100, 80], u=0, m=0,
          every=3)),
]


def check_runs():
    version = run(["--version"]).stdout.decode().split()[-1]
    for args, p in RUNS:
        done = run(args + ["--csv", "r.csv", "--xlsx", "r.xlsx"])
        check(done.returncode == 0, done.stderr.decode())
        classes, last = int(args[1]), int(args[3])
        counts, texts = read_csv(os.path.join(SCRATCH, "r.csv"))
        generations = sorted({g for (_, g) in counts})
        book = openpyxl.load_workbook(os.path.join(SCRATCH, "r.xlsx"))
        check(book.sheetnames == ["Paramètres", "Fréquences A", "Résumé"], book.sheetnames)
        params = {row[0]: row[1] for row in rows_of(book["Paramètres"]) if row[0]}
        want = {"Individus par classe (N)": p["n"], "Modèle": MODELS[p["model"]],
                "Allèles (K)": p["k"], "Taux de mutation": p["u"], "Taux de migration": p["m"],
                "Classes": classes, "Dernière génération": last, "Graine": int(args[5]),
                "Générations gardées : une sur": p["every"], "Version du programme": version}
        for k in range(p["k"]):
            want[f"Boules de l'allèle {k + 1} dans l'urne"] = p["urn"][k]
            want[f"Valeur sélective de l'allèle {k + 1} (%)"] = p["fitness"][k]
        for key, value in want.items():
            check(params.get(key) == value, f"{key}: {params.get(key)} against {value}")
        check_frequencies(book["Fréquences A"], texts, classes, p["k"], generations)
        check_summary(book["Résumé"], counts, classes, p["k"], 2 * p["n"], generations)


def check_size_refusal():
    big = ["--classes", "1000", "--generations", "1000"]
    refused = run(big + ["--xlsx", "gros.xlsx"])
    said = refused.stderr.decode()
    check(refused.returncode == 2 and "« une génération sur 9 »" in said
          and "--every 9" in said, said)
    check(not os.path.exists(os.path.join(SCRATCH, "gros.xlsx")), "nothing written")
    # The K offered is enough, and no more than needed.
    check(run(big + ["--xlsx", "gros.xlsx", "--every", "8"]).returncode == 2, "K = 8 too big")
    check(run(big + ["--xlsx", "gros.xlsx", "--every", "9"]).returncode == 0, "K = 9 fits")


def limited():
    signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
    resource.setrlimit(resource.RLIMIT_FSIZE, (4096, 4096))


def check_outputs():
    small = ["--classes", "2", "--generations", "5"]
    old = os.path.join(SCRATCH, "ancien.xlsx")
    with open(old, "w") as f:
        f.write("ancien")
    before = set(os.listdir(SCRATCH))
    failed = run(small + ["--xlsx", "ancien.xlsx"], preexec_fn=limited)
    check(failed.returncode == 1 and "la taille permise" in failed.stderr.decode(),
          failed.stderr.decode())
    check(open(old).read() == "ancien", "the older file is whole")
    check(set(os.listdir(SCRATCH)) == before, "no temporary file left")
    full = run(small + ["--xlsx", "/dev/full"])
    check(full.returncode == 1 and "le disque est plein" in full.stderr.decode(),
          full.stderr.decode())
    piped = run(small + ["--xlsx", "-"])
    check(piped.returncode == 0 and "classeur écrit dans -" in piped.stderr.decode(),
          "the summary leaves the standard output to the workbook")
    book = openpyxl.load_workbook(io.BytesIO(piped.stdout))
    check(len(book["Résumé"]._charts) == 1, "a whole workbook through the pipe")


shutil.rmtree(SCRATCH, ignore_errors=True)
os.makedirs(SCRATCH)
check_runs()
check_size_refusal()
check_outputs()
print("classeur : tout concorde")

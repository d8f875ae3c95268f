#!/usr/bin/env python3
"""Writes the example working directory examples/ (catalogs and network tables)
and prints an independent estimate of the peak regime of every line.

    python3 scripts/make_examples.py            # write the files and print the check
    python3 scripts/make_examples.py --check    # only print the check

The network is described below by mean January loads (MW) and tan phi of each
transformer; the script derives the monthly energies (MWh, Mvarh), the peak
loads from the line's fill factor, and the working taps that bring the low-side
voltage at peak close to 1.05 of nominal. The check runs a simple radial load
flow at peak (supply at "umax") and fails when a voltage leaves +-10 %, a
transformer or wire is overloaded, or the program's own mean-load loading
figure (mean load / kz^2) would reach 100 %.
"""
import math
import os
import sys

STAMP = "06.12.2026 17:30:00"          # fixed, so that a rerun changes nothing
JANUARY_DAYS = 31

# --- wire and cable catalog -------------------------------------------------
# name, S mm2, KL, R Ohm/km (20 C), X Ohm/km, B uS/km, Imax A, Material.
# X and B of overhead wires are the 110 kV values (the program scales them by
# voltage class); АС-35 and АС-50 carry the 110 kV equivalents of their 35 kV
# figures. Cables: single-core XLPE in trefoil, data-sheet values.
WIRES = [
    ("АС-35/6.2", 35, 0, 0.773, 0.466, 2.45, 175, 1),
    ("АС-50/8", 50, 0, 0.592, 0.455, 2.50, 210, 1),
    ("АС-70/11", 70, 0, 0.422, 0.444, 2.55, 265, 1),
    ("АС-95/16", 95, 0, 0.301, 0.434, 2.61, 330, 1),
    ("АС-120/19", 120, 0, 0.244, 0.427, 2.66, 390, 1),
    ("АС-150/24", 150, 0, 0.204, 0.420, 2.70, 450, 1),
    ("АС-185/29", 185, 0, 0.159, 0.413, 2.75, 510, 1),
    ("АС-240/32", 240, 0, 0.118, 0.405, 2.81, 605, 1),
    ("АС-300/39", 300, 0, 0.096, 0.398, 2.85, 710, 1),
    ("АС-400/51", 400, 0, 0.073, 0.391, 2.90, 825, 1),
    ("АПвПу2г 1х120/35-35", 120, 1, 0.253, 0.132, 53, 300, 1),
    ("АПвПу2г 1х240/70-35", 240, 1, 0.125, 0.118, 69, 440, 1),
    ("АПвПу2г 1х300/95-110", 300, 1, 0.100, 0.140, 47, 520, 1),
    ("АПвПу2г 1х630/95-110", 630, 1, 0.0469, 0.126, 62, 750, 1),
    ("ПвПу2г 1х500/95-110", 500, 1, 0.0366, 0.128, 58, 800, 2),
]

# --- transformer catalog ----------------------------------------------------
# name, unom kV, S kVA, R Ohm, X Ohm (referred to the HV side), Px kW, Qx kvar,
# tap step %, taps each way, uvn kV, unn kV.
# R = dPk*Uvn^2/S^2, X = uk*Uvn^2/S; Qx = Ix*S.
# A three-winding transformer is three types: the HV winding (uvn = unn, so
# its ratio is 1 and it ends in the star point; it carries S, the no-load
# losses and the on-load tap changer) and the MV and LV windings (S = 0, no
# no-load losses, ratio to their own voltage; the MV winding has its off-load
# taps +-2x2.5 %).
TRANS = [
    ("ТМ-1000/35", 35, 1000, 14.9, 79.6, 2.1, 14, 2.5, 2, 35, 10.5),
    ("ТМН-1600/35", 35, 1600, 7.9, 49.8, 2.9, 20.8, 1.5, 6, 35, 11),
    ("ТМН-2500/35", 35, 2500, 4.61, 31.9, 4.1, 25, 1.5, 6, 35, 11),
    ("ТМН-4000/35", 35, 4000, 2.56, 23.0, 5.6, 36, 1.5, 6, 35, 11),
    ("ТМН-6300/35", 35, 6300, 1.44, 14.6, 8.0, 50.4, 1.5, 6, 35, 11),
    ("ТДНС-10000/35", 35, 10000, 0.88, 10.8, 12, 75, 1.5, 8, 36.75, 10.5),
    ("ТМН-2500/110", 110, 2500, 46.6, 555.5, 5.0, 37.5, 1.5, 8, 115, 11),
    ("ТМН-6300/110", 110, 6300, 14.7, 220.4, 10, 63, 1.78, 9, 115, 11),
    ("ТДН-10000/110", 110, 10000, 7.95, 139, 14, 70, 1.78, 9, 115, 11),
    ("ТДН-16000/110", 110, 16000, 4.38, 86.7, 19, 112, 1.78, 9, 115, 11),
    ("ТРДН-25000/110", 110, 25000, 2.54, 55.5, 27, 175, 1.78, 9, 115, 10.5),
    ("ТДТН-25000/110 ВН", 110, 25000, 1.5, 56.9, 31, 175, 1.78, 9, 115, 115),
    ("ТДТН-25000/110 СН", 110, 0, 1.5, 0, 0, 0, 2.5, 2, 115, 38.5),
    ("ТДТН-25000/110 НН", 110, 0, 1.5, 35.7, 0, 0, 0, 0, 115, 11),
    ("ТРДН-40000/220", 220, 40000, 5.6, 158.7, 50, 360, 1.5, 8, 230, 11),
    ("ТРДЦН-63000/220", 220, 63000, 3.9, 100.7, 82, 504, 1, 12, 230, 11),
]

# --- network ----------------------------------------------------------------
PES = [("1", "Северные электрические сети")]
RES = [  # npes, nres, name, dnres, ind_t, temp
    ("1", "1", "Заречный РЭС", "РЭС-1", "0", "0"),
    ("1", "2", "Луговской РЭС", "РЭС-2", "0", "0"),
    ("1", "3", "Приозерный РЭС", "РЭС-3", "1", "-14.5"),
]


def S(n1, n2, mark, dl, name, name1="", podkt=0, kbal=0):
    """A line section."""
    return dict(tip=1, n1=n1, n2=n2, mark=mark, dl=dl, name=name, name1=name1,
                podkt=podkt, kbal=kbal)


def T(n1, n2, mark, p, tg, name, name1="", podkt=0, kbal=0):
    """A transformer (winding) with its mean January load p MW and tan phi."""
    return dict(tip=2, n1=n1, n2=n2, mark=mark, p=p, tg=tg, name=name, name1=name1,
                podkt=podkt, kbal=kbal)


# Line record: codes, name, dnlin, podkl, unom, umax, umin, tg_lin, k_zapol,
# k_for, k_free, sost, v_lin, ind_graf, vid_ras ("0" mean loads, "1" maximum
# losses); then the rows, in the order an engineer would enter them.
LINES = [
    dict(npes="1", nres="1", nlin="1", name="ВЛ 110 кВ Заречная - Сосновка с отпайками",
         dnlin="Л-112", podkl=0, unom=110, umax=117, umin=114, tg=0.4, kz=0.72,
         kfor=1.08, kfree=0.85, vid="0", rows=[
             S(0, 1, "АС-150/24", 16.4, "ПС Заречная - оп.84"),
             S(1, 2, "АС-120/19", 11.2, "оп.84 - ПС Полевая"),
             S(2, 3, "АС-120/19", 9.6, "ПС Полевая - ПС Сосновка"),
             S(1, 4, "АС-95/16", 5.3, "оп.84 - ПС Берёзовка", "отпайка"),
             T(2, 5, "ТДН-16000/110", 5.8, 0.42, "ПС Полевая Т-1"),
             T(2, 6, "ТДН-16000/110", 5.1, 0.40, "ПС Полевая Т-2"),
             T(3, 7, "ТДН-10000/110", 3.6, 0.45, "ПС Сосновка Т-1"),
             T(3, 8, "ТДН-10000/110", 0, 0, "ПС Сосновка Т-2", "в резерве", podkt=1),
             T(4, 9, "ТМН-6300/110", 2.1, 0.38, "ПС Берёзовка Т-1"),
         ]),
    dict(npes="1", nres="1", nlin="2", name="ВЛ 110 кВ Заречная - Промзона I, II цепь",
         dnlin="Л-115, Л-116", podkl=0, unom=110, umax=117, umin=114, tg=0.45, kz=0.78,
         kfor=1.04, kfree=0.9, vid="0", rows=[
             S(0, 1, "АС-185/29", 7.4, "ПС Заречная - ПС Промзона", "I цепь"),
             S(0, 1, "АС-185/29", 7.4, "ПС Заречная - ПС Промзона", "II цепь"),
             S(1, 2, "АПвПу2г 1х300/95-110", 2.3, "ПС Промзона - ПС Завод ЖБИ", "КЛ 110 кВ"),
             T(1, 3, "ТРДН-25000/110", 8.2, 0.48, "ПС Промзона Т-1"),
             T(1, 4, "ТРДН-25000/110", 7.6, 0.46, "ПС Промзона Т-2"),
             T(2, 5, "ТДН-10000/110", 4.1, 0.5, "ПС Завод ЖБИ Т-1", "на балансе потребителя",
               kbal=1),
         ]),
    dict(npes="1", nres="1", nlin="3", name="ВЛ 35 кВ Заречная - Кузьминки",
         dnlin="Л-35-3", podkl=0, unom=35, umax=36.5, umin=35.5, tg=0.45, kz=0.7,
         kfor=1.1, kfree=0.8, vid="0", rows=[
             S(0, 1, "АС-95/16", 8.2, "ПС Заречная - оп.62"),
             S(1, 2, "АС-70/11", 6.4, "оп.62 - ПС Кузьминки"),
             S(1, 3, "АС-50/8", 4.8, "оп.62 - ПС Ольховка", "отпайка"),
             S(2, 4, "АС-50/8", 3.6, "ПС Кузьминки - ПС Агрокомплекс"),
             S(3, 4, "АС-50/8", 2.9, "ПС Ольховка - ПС Агрокомплекс",
               "перемычка, нормально отключена", podkt=1),
             T(2, 5, "ТМН-4000/35", 1.3, 0.45, "ПС Кузьминки Т-1"),
             T(3, 6, "ТМН-2500/35", 0.95, 0.42, "ПС Ольховка Т-1"),
             T(4, 7, "ТМ-1000/35", 0.35, 0.5, "ПС Агрокомплекс Т-1"),
         ]),
    dict(npes="1", nres="2", nlin="1",
         name="ВЛ 220 кВ Луговая - Тайга с отпайкой на ПС Карьерная",
         dnlin="Л-221", podkl=0, unom=220, umax=235, umin=230, tg=0.4, kz=0.8,
         kfor=1.03, kfree=0.92, vid="0", rows=[
             S(0, 1, "АС-300/39", 38.5, "ПС Луговая - оп.142"),
             S(1, 2, "АС-240/32", 27.0, "оп.142 - ПС Тайга"),
             S(1, 3, "АС-240/32", 12.4, "оп.142 - ПС Карьерная", "отпайка"),
             T(2, 4, "ТРДЦН-63000/220", 15.5, 0.4, "ПС Тайга Т-1"),
             T(2, 5, "ТРДЦН-63000/220", 14.0, 0.4, "ПС Тайга Т-2"),
             T(3, 6, "ТРДН-40000/220", 11.0, 0.45, "ПС Карьерная Т-1"),
         ]),
    dict(npes="1", nres="2", nlin="2", name="ВЛ 110 кВ Луговая - Ключи - Дубки",
         dnlin="Л-124", podkl=0, unom=110, umax=116, umin=113, tg=0.42, kz=0.72,
         kfor=1.08, kfree=0.85, vid="0", rows=[
             S(0, 1, "АС-120/19", 14.6, "ПС Луговая - ПС Ключи"),
             S(1, 2, "АС-95/16", 9.8, "ПС Ключи - ПС Дубки"),
             T(1, 3, "ТДТН-25000/110 ВН", 0, 0, "ПС Ключи Т-1", "обмотка ВН"),
             T(3, 4, "ТДТН-25000/110 СН", 5.0, 0.42, "ПС Ключи Т-1", "обмотка СН, шины 35 кВ"),
             T(3, 5, "ТДТН-25000/110 НН", 3.4, 0.38, "ПС Ключи Т-1", "обмотка НН, шины 10 кВ"),
             T(2, 6, "ТМН-6300/110", 2.3, 0.4, "ПС Дубки Т-1"),
         ]),
    dict(npes="1", nres="2", nlin="3", name="ВЛ 35 кВ Луговая - Ивановка - Горки",
         dnlin="Л-35-7", podkl=0, unom=35, umax=36.8, umin=35.6, tg=0.45, kz=0.68,
         kfor=1.1, kfree=0.8, vid="0", rows=[
             S(0, 1, "АПвПу2г 1х120/35-35", 0.65, "ПС Луговая - оп.1", "кабельный выход"),
             S(1, 2, "АС-70/11", 10.8, "оп.1 - ПС Ивановка"),
             S(2, 3, "АС-50/8", 5.2, "ПС Ивановка - ПС Горки"),
             T(2, 4, "ТМН-2500/35", 0.85, 0.45, "ПС Ивановка Т-1"),
             T(3, 5, "ТМН-1600/35", 0.5, 0.45, "ПС Горки Т-1"),
         ]),
    dict(npes="1", nres="3", nlin="1", name="ВЛ 110 кВ Приозерная - Рыбацкая с отпайкой на ПС Лесная",
         dnlin="Л-131", podkl=0, unom=110, umax=118, umin=115, tg=0.4, kz=0.65,
         kfor=1.1, kfree=0.8, vid="1", rows=[
             S(0, 1, "АС-150/24", 21.5, "ПС Приозерная - оп.96"),
             S(1, 2, "АС-120/19", 14.8, "оп.96 - ПС Рыбацкая"),
             S(1, 3, "АС-70/11", 4.6, "оп.96 - ПС Лесная", "отпайка"),
             T(2, 4, "ТДН-10000/110", 4.0, 0.42, "ПС Рыбацкая Т-1"),
             T(2, 5, "ТДН-10000/110", 3.5, 0.42, "ПС Рыбацкая Т-2"),
             T(3, 6, "ТМН-6300/110", 2.5, 0.4, "ПС Лесная Т-1"),
         ]),
    dict(npes="1", nres="3", nlin="2", name="ВЛ 35 кВ Приозерная - Озерки",
         dnlin="Л-35-12", podkl=2, unom=35, umax=36.5, umin=35.5, tg=0.45, kz=0.66,
         kfor=1.1, kfree=0.8, vid="0", rows=[
             S(0, 1, "АС-95/16", 11.6, "ПС Приозерная - оп.58"),
             S(1, 2, "АС-70/11", 7.2, "оп.58 - ПС Озерки"),
             S(2, 3, "АС-35/6.2", 3.4, "ПС Озерки - ПС Заозерье"),
             S(1, 4, "АС-50/8", 2.6, "оп.58 - ПС Рыбозавод", "отпайка"),
             T(2, 5, "ТМН-4000/35", 1.25, 0.45, "ПС Озерки Т-1"),
             T(3, 6, "ТМН-1600/35", 0.45, 0.45, "ПС Заозерье Т-1"),
             T(4, 7, "ТМН-2500/35", 0.8, 0.45, "ПС Рыбозавод Т-1"),
         ]),
]

ATTR_PES = ["npes", "name"]
ATTR_RES = ["npes", "nres", "name", "dnres", "ind_t", "temp"]
ATTR_LIN = ["npes", "nres", "nlin", "name", "dnlin", "podkl", "unom", "umax", "umin",
            "tg_lin", "k_zapol", "k_for", "k_free", "sost", "v_lin", "ind_graf", "vid_ras"]
ATTR_UCH = ["npes", "nres", "nlin", "name", "name1", "nyzln", "nyzlk", "tip_el", "kod_el",
            "dl", "n_otv", "p_nagr", "q_nagr", "wp_nagr", "wq_nagr", "kbal", "podkt", "key"]
ATTR_L = ["name", "S", "KL", "R", "X", "B", "Imax", "Material"]
ATTR_TR = ["name", "unom", "S", "R", "X", "Px", "Qx", "u_otv", "n_otp", "uvn", "unn"]

WIRE = {w[0]: dict(zip(ATTR_L, w)) for w in WIRES}
TRAN = {t[0]: dict(zip(ATTR_TR, t)) for t in TRANS}


def g(x):
    """A number as the program writes line records: shortest, 6 digits."""
    return "%g" % x


def is_hv_winding(t):
    return t["uvn"] > 0 and 0.8 < t["unn"] / t["uvn"] < 1.2


def low_side_nominal(unn):
    """Nominal voltage of the network behind a winding of unn kV."""
    for nominal in (0.4, 6, 10, 20, 35, 110, 220):
        if unn < nominal * 1.2:
            return nominal
    return unn


# --- loads and energies -----------------------------------------------------
def prepare(line):
    tw = (JANUARY_DAYS - line["podkl"]) * 24
    for r in line["rows"]:
        if r["tip"] != 2:
            continue
        if r["podkt"] or r["p"] == 0:
            r.update(wp=0.0, wq=0.0, pp=0.0, qp=0.0)
            continue
        wp = round(r["p"] * tw)
        wq = round(wp * r["tg"])
        if line["vid"] == "1":       # maximum losses: the peak is what is given
            pp = round(r["p"] / line["kz"], 2)
        else:
            pp = round(wp / tw / line["kz"], 2)
        r.update(wp=float(wp), wq=float(wq), pp=pp, qp=round(pp * r["tg"], 2))
        r.setdefault("tap", 0)
    for r in line["rows"]:
        r.setdefault("tap", 0)


# --- the check: a radial load flow at peak ------------------------------------
def branch_params(line, r):
    unom = line["unom"]
    kx = 1 + (unom - 110) * 0.074 / 110
    if r["tip"] == 1:
        w = WIRE[r["mark"]]
        return dict(R=w["R"] * r["dl"], X=w["X"] * r["dl"] * kx, B=w["B"] * r["dl"] * 1e-6 / kx,
                    ratio=1.0, Imax=w["Imax"], S=0)
    t = TRAN[r["mark"]]
    ratio = t["unn"] / t["uvn"] * (1 - r["tap"] * 0.01 * t["u_otv"])
    return dict(R=t["R"], X=t["X"], B=0.0, ratio=ratio, S=t["S"], Px=t["Px"] / 1000,
                Qx=t["Qx"] / 1000)


def load_flow(line, mean=False):
    """Backward/forward sweeps over the rows in service; parallel sections are
    joined. Returns node voltages, per-row sending flows and the tree."""
    rows = [r for r in line["rows"] if not r["podkt"]]
    branches = {}
    for r in rows:
        key = (min(r["n1"], r["n2"]), max(r["n1"], r["n2"]))
        p = branch_params(line, r)
        if key in branches and r["tip"] == 1:
            b = branches[key]
            b["R"] = b["R"] * p["R"] / (b["R"] + p["R"])
            b["X"] = b["X"] * p["X"] / (b["X"] + p["X"])
            b["B"] += p["B"]
            b["n"] += 1
            continue
        assert key not in branches, "two transformers between the same nodes"
        p.update(row=r, n=1)
        branches[key] = p
    parent, via, order = {0: None}, {}, [0]
    adj = {}
    for (a, c), b in branches.items():
        adj.setdefault(a, []).append((c, b))
        adj.setdefault(c, []).append((a, b))
    for u in order:
        for v, b in adj.get(u, []):
            if v in parent:
                continue
            parent[v], via[v] = u, b
            order.append(v)
    assert len(order) == len(set(n for k in branches for n in k)), "line is not connected"
    assert len(branches) == len(order) - 1, "line holds a ring"
    kz = line["kz"]
    u0 = line["umax"] if not mean else math.sqrt(0.7 * line["umax"] ** 2 + 0.3 * line["umin"] ** 2)
    tw = (JANUARY_DAYS - line["podkl"]) * 24
    U = {n: u0 for n in order}
    for _ in range(20):
        P = {n: 0.0 for n in order}
        Q = {n: 0.0 for n in order}
        for n in reversed(order[1:]):
            b, r = via[n], via[n]["row"]
            if r["tip"] == 2:
                if mean and line["vid"] != "1":
                    P[n] += r["wp"] / tw
                    Q[n] += r["wq"] / tw
                elif mean:
                    P[n] += r["pp"]
                    Q[n] += r["qp"]
                else:
                    P[n] += r["pp"]
                    Q[n] += r["qp"]
            c = b["B"] * U[n] ** 2
            Q[n] -= c / 2
            u_ref = U[n] / b["ratio"]
            s2 = P[n] ** 2 + Q[n] ** 2
            P[n] += b["R"] * s2 / u_ref ** 2 + b.get("Px", 0)
            Q[n] += b["X"] * s2 / u_ref ** 2 + b.get("Qx", 0)
            b["P"], b["Q"] = P[n], Q[n]
            P[parent[n]] += P[n]
            Q[parent[n]] += Q[n] - c / 2
        for n in order[1:]:
            b, u1 = via[n], U[parent[n]]
            du = (b["P"] * b["R"] + b["Q"] * b["X"]) / u1
            dd = (b["P"] * b["X"] - b["Q"] * b["R"]) / u1
            U[n] = math.sqrt((u1 - du) ** 2 + dd ** 2) * b["ratio"]
    return U, order, parent, via


def choose_taps(line):
    """Working taps that put the low side near 1.05 of nominal at peak."""
    for _ in range(3):
        U, order, parent, via = load_flow(line)
        for n in order[1:]:
            r = via[n]["row"]
            if r["tip"] != 2:
                continue
            t = TRAN[r["mark"]]
            if t["n_otp"] == 0:
                continue
            if is_hv_winding(t):
                # the HV tap serves the LV (10 kV) winding behind the star point
                lv = [m for m in order if parent.get(m) == n and
                      TRAN[via[m]["row"]["mark"]]["u_otv"] == 0]
                target_node, target = lv[0], 1.05 * low_side_nominal(
                    TRAN[via[lv[0]]["row"]["mark"]]["unn"])
            else:
                target_node, target = n, 1.05 * low_side_nominal(t["unn"])
            u_untapped = U[target_node] / (1 - r["tap"] * 0.01 * t["u_otv"])
            tap = round((1 - target / u_untapped) / (0.01 * t["u_otv"]))
            r["tap"] = max(-t["n_otp"], min(t["n_otp"], tap))


def check(line, out):
    ok = True
    U, order, parent, via = load_flow(line)
    Um, _, _, viam = load_flow(line, mean=True)
    kmax = 1.0 if line["vid"] == "1" else 1 / line["kz"] ** 2
    out.append("%s (%g кВ, %s)" % (line["name"], line["unom"],
               "max losses" if line["vid"] == "1" else "mean loads"))
    for n in order[1:]:
        b, r = via[n], via[n]["row"]
        if r["tip"] == 1:
            i = math.hypot(b["P"], b["Q"]) / U[parent[n]] / math.sqrt(3) * 1000 / b["n"]
            dev = U[n] / line["unom"] * 100 - 100
            bad = abs(dev) > 10 or i > b["Imax"]
            ok &= not bad
            out.append("  %s %2d-%-2d %-22s U=%6.1f kV (%+5.1f%%) I=%4.0f A of %d%s" % (
                "!!" if bad else "  ", r["n1"], r["n2"], r["mark"], U[n], dev, i, b["Imax"],
                "  x%d" % b["n"] if b["n"] > 1 else ""))
        else:
            t = TRAN[r["mark"]]
            s_rated = t["S"] or TRAN[via[parent[n]]["row"]["mark"]]["S"]
            load = math.hypot(b["P"], b["Q"]) * 1000 / s_rated
            shown = math.hypot(viam[n]["P"], viam[n]["Q"]) * 1000 / (t["S"] or s_rated / 2) * kmax
            if is_hv_winding(t):
                out.append("     %2d-%-2d %-22s star point, tap %+d, peak loading %3.0f%%, shown %3.0f%%"
                           % (r["n1"], r["n2"], r["mark"], r["tap"], load * 100, shown * 100))
                ok &= load < 1 and shown < 1
                continue
            nominal = low_side_nominal(t["unn"])
            dev = U[n] / nominal * 100 - 100
            bad = abs(dev) > 10 or load >= 1 or shown >= 1
            ok &= not bad
            out.append("  %s %2d-%-2d %-22s LV=%5.2f kV (%+5.1f%%) tap %+d, peak loading %3.0f%%, shown %3.0f%%"
                       % ("!!" if bad else "  ", r["n1"], r["n2"], r["mark"], U[n], dev, r["tap"],
                          load * 100, shown * 100))
    return ok


# --- writing ----------------------------------------------------------------
# --- daily load graphs --------------------------------------------------------
# Hourly loads of typical days in per cent of the day's maximum, as the
# dispatchers' winter and summer control days give them.
GRAPHS = [
    ("1", [62, 58, 56, 55, 56, 60, 72, 86, 94, 97, 98, 96,
           93, 94, 95, 96, 98, 100, 99, 97, 93, 86, 76, 67]),   # winter working day
    ("2", [55, 51, 49, 48, 49, 52, 60, 71, 80, 86, 89, 90,
           88, 88, 89, 88, 87, 86, 85, 86, 87, 80, 70, 61]),   # summer working day
    ("3", [64, 60, 58, 57, 57, 58, 62, 68, 75, 80, 82, 82,
           80, 78, 77, 78, 82, 88, 92, 93, 90, 84, 76, 69]),   # winter day off
]
ATTR_GRAPH = ["nom"] + ["t%d" % h for h in range(1, 25)]


def esc(text):
    return (str(text).replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
            .replace('"', "&quot;"))


def write_table(folder, file, root, element, names, rows):
    lines = ['<?xml version="1.0" encoding="UTF-8"?>',
             '<%s created="%s" modeling_authority="TARNO">' % (root, STAMP)]
    for row in rows:
        assert len(row) == len(names)
        lines.append("  <%s %s/>" % (element, " ".join(
            '%s="%s"' % (n, esc(v)) for n, v in zip(names, row))))
    lines.append("</%s>" % root)
    with open(os.path.join(folder, file), "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


def section_rows(line):
    out = []
    for key, r in enumerate(line["rows"], start=1):
        codes = [line["npes"], line["nres"], line["nlin"], r["name"], r["name1"],
                 str(r["n1"]), str(r["n2"]), str(r["tip"]), r["mark"]]
        if r["tip"] == 1:
            # the section editor leaves the load cells of a line section empty
            codes += ["%.3f" % r["dl"], "0", "", "", "", ""]
        else:
            # ... and the length cell of a transformer
            codes += ["", str(r["tap"]), g(r["pp"]), g(r["qp"]), g(r["wp"]), g(r["wq"])]
        codes += [str(r["kbal"]), str(r["podkt"]), str(key)]
        out.append(codes)
    return out


def main():
    only_check = "--check" in sys.argv[1:]
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "examples")
    report, ok = [], True
    for line in LINES:
        prepare(line)
        choose_taps(line)
        ok &= check(line, report)
    print("\n".join(report))
    if not ok:
        print("\nFAILED: a value marked !! is out of its limits", file=sys.stderr)
        return 1
    if only_check:
        return 0
    write_table(folder, "pes.xml", "net110_PES", "PES", ATTR_PES, PES)
    write_table(folder, "res.xml", "net110_RES", "RES", ATTR_RES, RES)
    write_table(folder, "lines.xml", "net110_LIN", "LIN", ATTR_LIN, [
        [l["npes"], l["nres"], l["nlin"], l["name"], l["dnlin"], g(l["podkl"]), g(l["unom"]),
         g(l["umax"]), g(l["umin"]), g(l["tg"]), g(l["kz"]), g(l["kfor"]), g(l["kfree"]),
         "0", "0", "0", l["vid"]] for l in LINES])
    write_table(folder, "uch_lin.xml", "net110_uch_lin", "UCH_LIN", ATTR_UCH,
                [row for l in LINES for row in section_rows(l)])
    write_table(folder, "kat_lin.xml", "net110_WireInfo", "Wire", ATTR_L,
                [[g(v) if isinstance(v, (int, float)) else v for v in w] for w in WIRES])
    write_table(folder, "kat_tr.xml", "net110_TRansInfo", "Trans", ATTR_TR,
                [[g(v) if isinstance(v, (int, float)) else v for v in t] for t in TRANS])
    write_table(folder, "grafiki.xml", "grafiki", "nomgr", ATTR_GRAPH,
                [[nom] + [str(v) for v in hours] for nom, hours in GRAPHS])
    print("\nwritten to", os.path.normpath(folder))
    return 0


if __name__ == "__main__":
    sys.exit(main())

"""The tray face's hand-drawn layouts, one per icon size, for tools/gen_art.py: where the head
sits and the sprites of its eyes, gun sight, mouth and shine (letters of gen_art's SPRITE_COLOURS)."""

# Per size: face geometry and hand-drawn features. The left eye winks (the face
# is aiming); the right eye looks through a gun sight.
FACE_32 = {
    "centre": 15.5, "radius": 15.6,
    "left_eye": (6, 8),
    "eyes": {
        "open": [
            "..KKK..",
            ".KWWKK.",
            ".KWKKK.",
            ".KKKKK.",
            ".KKKKK.",
            ".KKKKK.",
            "..KKK..",
        ],
        "half": [
            ".......",
            ".......",
            ".......",
            "KKKKKKK",
            ".KKKKK.",
            ".KKKKK.",
            "..KKK..",
        ],
        "shut": [
            ".......",
            ".......",
            "..KKK..",
            ".K...K.",
            "K.....K",
            ".......",
            ".......",
        ],
    },
    "sight": (16, 5, [
        "....KKKKK....",
        "..KKRRRRRKK..",
        ".KRRK...KRRK.",
        ".KRK..K..KRK.",
        "KRK...K...KRK",
        "KRK..KKK..KRK",
        "KRKKKKWKKKKRK",
        "KRK..KKK..KRK",
        "KRK...K...KRK",
        ".KRK..K..KRK.",
        ".KRRK...KRRK.",
        "..KKRRRRRKK..",
        "....KKKKK....",
    ]),
    "mouth": (7, 19, [
        "KKKKKKKKKKKKKKKKKK",
        "KWWWWWWWWWWWWWWWWK",
        ".KWWWWWWWWWWWWWWK.",
        ".KKKKKKKKKKKKKKKK.",
        "..KKKKKRRRRKKKKK..",
        "...KKKRRRRRRKKK...",
        "....KKKRRRRKKK....",
        "......KKKKKK......",
    ]),
    "shine": (6, 4, [
        "..WW",
        ".WW.",
        "W...",
    ]),
    "shade": (1.5, 1.0),
}

FACE_16 = {
    "centre": 7.5, "radius": 7.9,
    "left_eye": (3, 4),
    "eyes": {
        "open": [".WK.", ".KK.", ".KK.", ".KK."],
        "half": ["....", "KKKK", ".KK.", ".KK."],
        "shut": ["....", ".KK.", "K..K", "...."],
    },
    "sight": (7, 2, [
        "..RRR..",
        ".R...R.",
        "R..K..R",
        "R.KKK.R",
        "R..K..R",
        ".R...R.",
        "..RRR..",
    ]),
    "mouth": (3, 10, [
        "KKKKKKKKKK",
        ".KWWWWWWK.",
        "..KRRRRK..",
        "...KKKK...",
    ]),
    "shine": (3, 3, ["W"]),
    "shade": (1.5, 0.0),
}


# The notification area's sizes at 150 % and 125 % (24 and 20 pixels).
FACE_24 = {
    "centre": 11.5, "radius": 11.7,
    "left_eye": (4, 6),
    "eyes": {
        "open": [".KKK.", "KWWKK", "KWKKK", "KKKKK", "KKKKK", ".KKK."],
        "half": [".....", ".....", "KKKKK", "KKKKK", "KKKKK", ".KKK."],
        "shut": [".....", ".....", ".KKK.", "K...K", ".....", "....."],
    },
    "sight": (12, 4, [
        "..RRRRR..",
        ".RR...RR.",
        "RR..K..RR",
        "R...K...R",
        "R.KKWKK.R",
        "R...K...R",
        "RR..K..RR",
        ".RR...RR.",
        "..RRRRR..",
    ]),
    "mouth": (5, 14, [
        "KKKKKKKKKKKKKK",
        "KWWWWWWWWWWWWK",
        ".KWWWWWWWWWWK.",
        ".KKKKRRRRKKKK.",
        "..KKRRRRRRKK..",
        "....KKKKKK....",
    ]),
    "shine": (4, 3, [".WW", "W.."]),
    "shade": (1.5, 0.5),
}

FACE_20 = {
    "centre": 9.5, "radius": 9.8,
    "left_eye": (3, 5),
    "eyes": {
        "open": [".KK.", "KWKK", "KKKK", "KKKK", ".KK."],
        "half": ["....", "....", "KKKK", "KKKK", ".KK."],
        "shut": ["....", "....", ".KK.", "K..K", "...."],
    },
    "sight": (10, 3, [
        "..KKK..",
        ".KRRRK.",
        "KR.K.RK",
        "KRKWKRK",
        "KR.K.RK",
        ".KRRRK.",
        "..KKK..",
    ]),
    "mouth": (4, 12, [
        "KKKKKKKKKKKK",
        "KWWWWWWWWWWK",
        ".KKKRRRRKKK.",
        "..KKRRRRKK..",
        "....KKKK....",
    ]),
    "shine": (3, 3, [".W", "W."]),
    "shade": (1.5, 0.3),
}

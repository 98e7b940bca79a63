-- Media database (DB/Log/Media.mdb): QSL card pictures and recorded contacts.

CREATE TABLE Pict (
    Date_Time DATETIME,
    -- Wide enough for a whole file name: a cut name would lose the extension the picture type is read from.
    Call VARCHAR(255) COLLATE NOCASE,
    R1 VARCHAR(255) COLLATE NOCASE,
    R2 VARCHAR(20) COLLATE NOCASE,
    R3 VARCHAR(20) COLLATE NOCASE,
    R4 VARCHAR(20) COLLATE NOCASE,
    Fot1 BLOB,
    Fot2 BLOB
);
CREATE INDEX Pict_Call ON Pict (Call);

CREATE TABLE Sound (
    DateTim DATETIME,
    Callsignal VARCHAR(20) COLLATE NOCASE,
    Sound BLOB
);

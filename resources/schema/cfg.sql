-- Settings database (DB/Work/cfg.mdb).
-- Texts compare without letter case unless a column says BINARY: the settings key is matched exactly.

CREATE TABLE Cfg (
    Num INTEGER PRIMARY KEY AUTOINCREMENT,
    FormName VARCHAR(50) COLLATE BINARY,
    Object VARCHAR(50) COLLATE BINARY,
    Name_Param VARCHAR(50) COLLATE BINARY,
    -- No size: a stored setting must never be cut.
    Param TEXT COLLATE NOCASE,
    Prim VARCHAR(50) COLLATE NOCASE,
    Memo BLOB
);
CREATE UNIQUE INDEX Cfg_Key ON Cfg (FormName, Object, Name_Param);

CREATE TABLE FormConfig (
    Num INTEGER PRIMARY KEY AUTOINCREMENT,
    FormName VARCHAR(100) COLLATE NOCASE,
    Name_Param VARCHAR(100) COLLATE NOCASE,
    Param VARCHAR(250) COLLATE NOCASE,
    Prim VARCHAR(150) COLLATE NOCASE
);
CREATE INDEX FormConfig_Key ON FormConfig (FormName, Name_Param);

CREATE TABLE Language (
    Num INTEGER PRIMARY KEY AUTOINCREMENT,
    FormName VARCHAR(100) COLLATE NOCASE,
    Object VARCHAR(150) COLLATE NOCASE,
    Russ VARCHAR(250) COLLATE NOCASE,
    En VARCHAR(250) COLLATE NOCASE,
    De VARCHAR(250) COLLATE NOCASE,
    Fr VARCHAR(250) COLLATE NOCASE,
    oth VARCHAR(250) COLLATE NOCASE,
    Prim VARCHAR(50) COLLATE NOCASE
);
CREATE INDEX Language_FormName ON Language (FormName);

-- The two databases of the program, one section per file. Both files lie in
-- the data folder and are laid down by the installation (and by the demo);
-- the program never creates them.
--
-- Tables are STRICT: a value that does not fit a whole-number column ('abc'
-- for an id) is refused, as the original database engine refused it, instead
-- of being stored as text. Statements quote every value, numbers included;
-- SQLite converts '1001' to 1001 for INTEGER columns. Text sizes are those of
-- the delivered files and are noted beside each column; SQLite keeps them as
-- notes only, so a longer value is stored whole.

-- file: Slvcare.slv

CREATE TABLE devices (
  id INTEGER PRIMARY KEY,              -- long integer; up to 999 delivered
  masterModelId INTEGER,               -- long integer; 999 hides phones and tablets
  description TEXT COLLATE NOCASE,     -- text 100; listed in this order
  url_firmware TEXT,                   -- text 250
  deviceSku TEXT,                      -- text 50
  url_picture TEXT,                    -- text 250
  bin_firmware TEXT,                   -- text 50
  chipsetId INTEGER,                   -- long integer
  Rewriter_Instruction TEXT,           -- text 250
  systemType INTEGER,                  -- long integer: 0 phones, 1 tablets, 2 TVs, 3 notebooks
  md5 TEXT,                            -- text 50
  tv_desc_menu TEXT,                   -- memo
  tv_desc_forcada TEXT,                -- memo
  Tminpendrive TEXT                    -- text 2
) STRICT;

CREATE TABLE mastermodel (
  id INTEGER PRIMARY KEY,              -- long integer; up to 999 delivered
  mastermodel TEXT,                    -- text 255
  radical TEXT                         -- text 255
) STRICT;

CREATE TABLE devices_aux (
  id INTEGER PRIMARY KEY,              -- long integer
  deviceId INTEGER,                    -- long integer, a devices.id
  url_firmware TEXT,                   -- text 250
  md5 TEXT                             -- text 50
) STRICT;

CREATE TABLE devicesRadical (
  radical TEXT,                        -- text 255
  Iddevice INTEGER                     -- long integer, a devices.id
) STRICT;

-- file: Slvcarerel.slv

CREATE TABLE systemlog (
  id INTEGER PRIMARY KEY AUTOINCREMENT, -- auto-number
  macadress TEXT,                      -- text 50
  pcname TEXT,                         -- text 50
  windowsuser TEXT,                    -- text 50
  externalipv4 TEXT,                   -- text 50
  operationsystem TEXT,                -- text 50
  cpu TEXT,                            -- text 50
  memory_capacity TEXT,                -- text 50
  memory_free TEXT,                    -- text 50
  disk_capacity TEXT,                  -- text 50
  disk_free TEXT,                      -- text 50
  city TEXT,                           -- text 50
  state TEXT,                          -- text 50
  systemversion TEXT,                  -- text 50
  protocol TEXT,                       -- text 50
  productid TEXT,                      -- text 10
  chipset TEXT,                        -- text 50
  idlastuserinteraction TEXT,          -- text 50
  idsystemstatus TEXT,                 -- text 50
  systemtotaltime TEXT,                -- text 50
  firmwaredownloadtime TEXT,           -- text 50
  downloadsize TEXT,                   -- text 50
  useractions TEXT,                    -- memo
  alreadySent TEXT,                    -- text 1
  ProductName TEXT,                    -- text 100
  cd_cpf TEXT,                         -- text 20
  cd_nome TEXT,                        -- text 150
  cd_telefone TEXT,                    -- text 25
  cd_email TEXT,                       -- text 150
  LogEnviadoServer TEXT DEFAULT 'N'    -- text 1: 'N' not yet sent, 'S' sent
) STRICT;

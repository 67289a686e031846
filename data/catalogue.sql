-- The demo catalogue of "Slvcare.slv": one device or more of every family
-- and kind. "@SERVIDOR@" stands for the maker's server (scheme and host) and
-- is replaced when the file is laid down.

INSERT INTO mastermodel (id, mastermodel, radical) VALUES
  (1, 'Celular Solvanta Flip 2', 'FLP20'),
  (2, 'Smartphone Solvanta Nova 5', 'NV5B2'),
  (3, 'Tablet Solvanta T7', 'T7SP1'),
  (4, 'Tablet Solvanta T10 Pro', 'T10RK'),
  (5, 'Tablet Solvanta T8', 'T8MTK'),
  (6, 'Smart TV Solvanta 32'' HD', '32HD7'),
  (7, 'Notebook Solvanta Vértice 14', 'VX14N');

INSERT INTO devices (id, masterModelId, description, url_firmware, deviceSku, url_picture,
                     bin_firmware, chipsetId, Rewriter_Instruction, systemType, md5,
                     tv_desc_menu, tv_desc_forcada, Tminpendrive) VALUES
  (101, 1, 'Celular Solvanta Flip 2', '@SERVIDOR@/solvanta/firmwares/flip2_sc6531.zip',
   'SLV-FLP20', '@SERVIDOR@/solvanta/imagens/flip2.jpg', NULL, 5, NULL, 0,
   '6f1d2c1b5e0a4f3c9d8e7b6a5c4d3e2f', NULL, NULL, NULL),
  (102, 2, 'Smartphone Solvanta Nova 5', '@SERVIDOR@/solvanta/firmwares/nova5_full.zip',
   'SLV-NV5', '@SERVIDOR@/solvanta/imagens/nova5.jpg', NULL, 40, NULL, 0,
   '0a9b8c7d6e5f40312a3b4c5d6e7f8091', NULL, NULL, NULL),
  (103, 3, 'Tablet Solvanta T7', '@SERVIDOR@/solvanta/firmwares/t7_sc7731.pac',
   'SLV-T7', '@SERVIDOR@/solvanta/imagens/t7.jpg', NULL, 1, NULL, 1,
   '1b2c3d4e5f60718293a4b5c6d7e8f901', NULL, NULL, NULL),
  (104, 4, 'Tablet Solvanta T10 Pro', '@SERVIDOR@/solvanta/firmwares/t10pro_rk3326.zip',
   'SLV-T10P', '@SERVIDOR@/solvanta/imagens/t10pro.jpg', NULL, 3, NULL, 1,
   '2c3d4e5f60718293a4b5c6d7e8f90a1b', NULL, NULL, NULL),
  (105, 5, 'Tablet Solvanta T8', '@SERVIDOR@/solvanta/firmwares/t8_mt8321.zip',
   'SLV-T8', '@SERVIDOR@/solvanta/imagens/t8.jpg', NULL, 6, NULL, 1,
   '3d4e5f60718293a4b5c6d7e8f90a1b2c', NULL, NULL, NULL),
  (106, 6, 'Smart TV Solvanta 32'' HD', '@SERVIDOR@/solvanta/firmwares/tv32hd.zip',
   '32HD7', '@SERVIDOR@/solvanta/imagens/tv32hd.jpg', NULL, 4, NULL, 2,
   '4e5f60718293a4b5c6d7e8f90a1b2c3d',
   'Com o pendrive conectado à TV, abra Menu > Suporte > Atualização de software e escolha "Por USB".',
   'Com a TV desligada da tomada, conecte o pendrive, mantenha pressionado o botão Power da TV e ligue-a na tomada.',
   '4'),
  (107, 7, 'Notebook Solvanta Vértice 14', '@SERVIDOR@/solvanta/firmwares/vx14_recovery.zip',
   'SLV-VX14', '@SERVIDOR@/solvanta/imagens/vx14.jpg', NULL, 7, NULL, 3,
   '5f60718293a4b5c6d7e8f90a1b2c3d4e', NULL, NULL, NULL),
  -- Never listed on the model screen; reached by its model code only.
  (158, 3, 'Tablet Solvanta T7 Kids', '@SERVIDOR@/solvanta/firmwares/t7kids_sc7731.pac',
   'SLV-T7K', '@SERVIDOR@/solvanta/imagens/t7kids.jpg', NULL, 1, NULL, 1,
   '60718293a4b5c6d7e8f90a1b2c3d4e5f', NULL, NULL, NULL),
  -- Master model 999: hidden from the phone and tablet selections only.
  (110, 999, 'Celular Solvanta Flip 1', '@SERVIDOR@/solvanta/firmwares/flip1.zip',
   'SLV-FLP10', '@SERVIDOR@/solvanta/imagens/flip1.jpg', NULL, 5, NULL, 0,
   '718293a4b5c6d7e8f90a1b2c3d4e5f60', NULL, NULL, NULL),
  (111, 999, 'Tablet Solvanta T6', '@SERVIDOR@/solvanta/firmwares/t6.pac',
   'SLV-T6', '@SERVIDOR@/solvanta/imagens/t6.jpg', NULL, 1, NULL, 1,
   '8293a4b5c6d7e8f90a1b2c3d4e5f6071', NULL, NULL, NULL),
  (112, 999, 'Smart TV Solvanta 24'' Compacta', '@SERVIDOR@/solvanta/firmwares/tv24.zip',
   '24CP1', '@SERVIDOR@/solvanta/imagens/tv24.jpg', NULL, 4, NULL, 2,
   '93a4b5c6d7e8f90a1b2c3d4e5f607182',
   'Abra Menu > Sistema > Atualizar por USB.',
   'Desligue a TV, conecte o pendrive e ligue-a segurando o botão Power.',
   '2'),
  (113, 999, 'Notebook Solvanta Vértice 13', '@SERVIDOR@/solvanta/firmwares/vx13_recovery.zip',
   'SLV-VX13', '@SERVIDOR@/solvanta/imagens/vx13.jpg', NULL, 7, NULL, 3,
   'a4b5c6d7e8f90a1b2c3d4e5f60718293', NULL, NULL, NULL);

-- Further files of a device's recovery, in the order they are fetched.
INSERT INTO devices_aux (id, deviceId, url_firmware, md5) VALUES
  (1, 105, '@SERVIDOR@/solvanta/firmwares/t8_mt8321_userdata.zip',
   'b5c6d7e8f90a1b2c3d4e5f60718293a4'),
  (2, 105, '@SERVIDOR@/solvanta/firmwares/t8_mt8321_system.zip',
   'c6d7e8f90a1b2c3d4e5f60718293a4b5');

-- Model codes: normally the last 5 characters of the serial number.
INSERT INTO devicesRadical (radical, Iddevice) VALUES
  ('FLP20', 101),
  ('NV5B2', 102),
  ('T7SP1', 103),
  ('T10RK', 104),
  ('T8MTK', 105),
  ('32HD7', 106),
  ('VX14N', 107),
  ('T7KID', 158),
  ('T7KD', 158),
  ('FLP10', 110),
  ('T6SP1', 111);

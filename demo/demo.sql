-- Demo host database: the tables the VAT conversion reads and writes, with a small shop's data.
CREATE TABLE tax (
  code INTEGER NOT NULL PRIMARY KEY,
  description VARCHAR(40)
);
CREATE TABLE fiscalregion_tax (
  tax_code INTEGER NOT NULL,
  fiscalregion_code INTEGER NOT NULL,
  taxvalue NUMERIC(15,2),
  PRIMARY KEY (tax_code, fiscalregion_code)
);
CREATE TABLE family (
  code INTEGER NOT NULL,
  subcode INTEGER NOT NULL,
  name VARCHAR(40),
  PRIMARY KEY (code, subcode)
);
CREATE TABLE product (
  code INTEGER NOT NULL PRIMARY KEY,
  user_code VARCHAR(20),
  name VARCHAR(60),
  family_code INTEGER,
  subfamily_code INTEGER,
  fo_family_code INTEGER,
  fo_subfamily_code INTEGER,
  table_tax INTEGER,
  direct_tax INTEGER,
  purchase_tax INTEGER,
  deleted INTEGER
);
CREATE TABLE productprice (
  product_code INTEGER NOT NULL,
  fiscalregion_code INTEGER NOT NULL,
  price_wo_tax NUMERIC(15,4),
  PRIMARY KEY (product_code, fiscalregion_code)
);
CREATE TABLE familyprice (
  family_code INTEGER NOT NULL,
  family_subcode INTEGER NOT NULL,
  fiscalregion_code INTEGER NOT NULL,
  price_wo_tax NUMERIC(15,4),
  PRIMARY KEY (family_code, family_subcode, fiscalregion_code)
);

INSERT INTO tax (code, description) VALUES
  (1, 'Taxa Reduzida'),
  (2, 'Taxa Intermédia'),
  (3, 'Taxa Normal'),
  (4, 'Isento'),
  (5, 'Taxa Especial Açores');

-- Fiscal regions: 1 Continente, 2 Madeira, 3 Açores. Tax 5 has no value on the mainland.
INSERT INTO fiscalregion_tax (tax_code, fiscalregion_code, taxvalue) VALUES
  (1, 1, 6), (1, 2, 5), (1, 3, 4),
  (2, 1, 13), (2, 2, 12), (2, 3, 9),
  (3, 1, 23), (3, 2, 22), (3, 3, 16),
  (4, 1, 0), (4, 2, 0), (4, 3, 0),
  (5, 2, 18), (5, 3, 18);

INSERT INTO family (code, subcode, name) VALUES
  (10, 0, 'Bebidas'), (10, 1, 'Águas e Refrigerantes'), (10, 2, 'Cafetaria'), (10, 3, 'Vinhos'),
  (20, 0, 'Pastelaria'), (20, 1, 'Bolos'), (20, 2, 'Pão'),
  (30, 0, 'Refeições'), (30, 1, 'Pratos do Dia'), (30, 2, 'Sopas'),
  (40, 0, 'Mercearia'), (40, 1, 'Conservas'),
  (90, 0, 'Restauração'), (90, 1, 'Sala'), (90, 2, 'Balcão');

INSERT INTO product (code, user_code, name, family_code, subfamily_code, fo_family_code,
                     fo_subfamily_code, table_tax, direct_tax, purchase_tax, deleted) VALUES
  (1, '0001', 'Água Mineral 0,5 L', 10, 1, 90, 2, 2, 1, 1, 0),
  (2, '0002', 'Água com Gás 0,25 L', 10, 1, 90, 2, 2, 1, 1, 0),
  (3, '0003', 'Sumo de Laranja Natural', 10, 1, 90, 1, 2, 3, 3, 0),
  (4, '0004', 'Refrigerante de Limão', 10, 1, 90, 2, 2, 3, 3, NULL),
  (5, '0005', 'Café Expresso', 10, 2, 90, 2, 2, 2, 3, 0),
  (6, '0006', 'Galão', 10, 2, 90, 2, 2, 2, 3, 0),
  (7, '0007', 'Meia de Leite', 10, 2, 90, 2, 2, 2, 3, 0),
  (8, '0008', 'Chá de Cidreira', 10, 2, 90, 1, 2, 2, 3, 0),
  (9, '0009', 'Vinho Tinto do Douro 0,75 L', 10, 3, 90, 1, 3, 3, 3, 0),
  (10, '0010', 'Vinho Verde Branco 0,75 L', 10, 3, 90, 1, 3, 3, 3, 0),
  (11, '0011', 'Pastel de Nata', 20, 1, 90, 2, 2, 1, 1, 0),
  (12, '0012', 'Bola de Berlim', 20, 1, 90, 2, 2, 1, 1, 0),
  (13, '0013', 'Pão de Ló de Ovar', 20, 1, 90, 2, 2, 1, 1, 0),
  (14, '0014', 'Queijada de Sintra', 20, 1, 90, 2, 2, 1, 1, 0),
  (15, '0015', 'Pão de Água', 20, 2, 90, 2, 1, 1, 1, 0),
  (16, '0016', 'Broa de Milho', 20, 2, 90, 2, 1, 1, 1, 0),
  (17, '0017', 'Bacalhau à Brás', 30, 1, 90, 1, 2, 2, 1, 0),
  (18, '0018', 'Frango Assado com Batata Frita', 30, 1, 90, 1, 2, 2, 1, 0),
  (19, '0019', 'Polvo à Lagareiro', 30, 1, 90, 1, 2, 2, 1, 0),
  (20, '0020', 'Caldo Verde', 30, 2, 90, 1, 2, 2, 1, 0),
  (21, '0021', 'Sopa de Legumes da Época', 30, 2, 90, 1, 2, 2, 1, 0),
  (22, '0022', 'Atum em Azeite (lata 120 g)', 40, 1, 90, 2, 1, 1, 1, 0),
  (23, '0023', 'Sardinhas em Tomate (lata 125 g)', 40, 1, 90, 2, 1, 1, 1, 0),
  (24, '0024', 'Produto Descontinuado', 40, 1, 90, 2, 3, 3, 3, 1),
  (25, '0025', 'Licor Açoriano de Maracujá', 10, 3, 90, 1, 5, 5, 5, 0),
  (26, '0026', 'Serviço de Mesa (couvert com pão, manteiga e azeitonas)', 90, 1, 90, 1, 3, 3, 3, 0),
  (27, '0027', 'Gelado Artesanal', 20, 1, 90, 2, 7, 3, 3, 0);

INSERT INTO productprice (product_code, fiscalregion_code, price_wo_tax)
SELECT p.code, r.region, round(1.0 + p.code * 0.37 + r.region * 0.1, 4)
FROM product p,
     (SELECT 1 AS region UNION ALL SELECT 2 UNION ALL SELECT 3) r;

INSERT INTO familyprice (family_code, family_subcode, fiscalregion_code, price_wo_tax)
SELECT f.code, f.subcode, r.region, round(2.0 + f.code * 0.05 + f.subcode * 0.5, 4)
FROM family f,
     (SELECT 1 AS region UNION ALL SELECT 2 UNION ALL SELECT 3) r;

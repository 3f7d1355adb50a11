-- The demo database of Tarnwell: a small fine-food trading company.
-- scripts/demo.sh builds it with the sqlite3 command-line tool whenever the
-- database file is missing or older than this file:
--
--   sqlite3 -bail demo.sqlite < examples/demo-schema.sql
--
-- employees     10 rows  (one without a manager, one without a salary)
-- customers     30 rows  (accents, CJK, a quote in a name, missing phones)
-- products      24 rows  (prices with cents, some without a unit)
-- orders       120 rows  (2024-2025, the latest not yet shipped)
-- order_lines  ~300 rows (generated from the orders, some with a discount)

PRAGMA foreign_keys = ON;
BEGIN;

CREATE TABLE employees (
    employee_id  INTEGER PRIMARY KEY,
    first_name   VARCHAR(20) NOT NULL,
    last_name    VARCHAR(20) NOT NULL,
    title        VARCHAR(30) NOT NULL,
    reports_to   INTEGER REFERENCES employees (employee_id),
    hire_date    DATE NOT NULL,
    salary       DECIMAL(9,2),
    email        VARCHAR(40)
);

CREATE TABLE customers (
    customer_id      INTEGER PRIMARY KEY,
    company          VARCHAR(40) NOT NULL,
    contact          VARCHAR(30),
    city             VARCHAR(20) NOT NULL,
    country          VARCHAR(15) NOT NULL,
    phone            VARCHAR(20),
    account_manager  INTEGER REFERENCES employees (employee_id),
    customer_since   DATE NOT NULL
);

CREATE TABLE products (
    product_id    INTEGER PRIMARY KEY,
    name          VARCHAR(30) NOT NULL,
    category      VARCHAR(15) NOT NULL,
    unit          VARCHAR(20),
    unit_price    DECIMAL(8,2) NOT NULL,
    in_stock      INTEGER NOT NULL,
    discontinued  INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE orders (
    order_id      INTEGER PRIMARY KEY,
    customer_id   INTEGER NOT NULL REFERENCES customers (customer_id),
    employee_id   INTEGER NOT NULL REFERENCES employees (employee_id),
    order_date    DATE NOT NULL,
    shipped_date  DATE,
    freight       DECIMAL(8,2),
    ship_city     VARCHAR(20)
);

CREATE TABLE order_lines (
    order_id    INTEGER NOT NULL REFERENCES orders (order_id),
    line_no     INTEGER NOT NULL,
    product_id  INTEGER NOT NULL REFERENCES products (product_id),
    quantity    INTEGER NOT NULL,
    unit_price  DECIMAL(8,2) NOT NULL,
    discount    DECIMAL(4,2),
    PRIMARY KEY (order_id, line_no)
);

INSERT INTO employees VALUES
    (1,  'Margaret', 'Lindqvist',     'Managing Director',    NULL, '2014-03-01', 142000.00, 'm.lindqvist@tarnwell-trading.example'),
    (2,  'Jonas',    'Weber',         'Head of Sales',        1,    '2015-06-15',  98500.00, 'j.weber@tarnwell-trading.example'),
    (3,  'José',     'Álvarez',       'Sales Representative', 2,    '2016-09-01',  61250.50, 'j.alvarez@tarnwell-trading.example'),
    (4,  'Zoë',      'Fischer-Brandt','Sales Representative', 2,    '2017-02-20',  63400.00, 'z.fischer@tarnwell-trading.example'),
    (5,  'Łukasz',   'Nowak',         'Sales Representative', 2,    '2019-11-04',  57980.25, 'l.nowak@tarnwell-trading.example'),
    (6,  '美咲',     '佐藤',          'Sales Representative', 2,    '2020-04-01',  58800.00, 'm.sato@tarnwell-trading.example'),
    (7,  'Søren',    'Kjær',          'Sales Representative', 2,    '2021-08-16',  55100.75, NULL),
    (8,  'Amara',    'Okafor',        'Key Account Manager',  2,    '2018-01-08',  71900.00, 'a.okafor@tarnwell-trading.example'),
    (9,  'Pierre',   'Lefèvre',       'Logistics Manager',    1,    '2016-05-02',  74300.00, 'p.lefevre@tarnwell-trading.example'),
    (10, 'Hannah',   'Schmidt',       'Trainee',              9,    '2025-09-01',      NULL, 'h.schmidt@tarnwell-trading.example');

INSERT INTO customers VALUES
    (1,  'Alpenblick Feinkost GmbH',        'Maria Huber',       'Innsbruck',   'Austria',     '+43 512 580 144',   3, '2016-10-12'),
    (2,  'Bodega Los Olivos S.L.',          'Carmen Ruiz',       'Sevilla',     'Spain',       '+34 954 22 17 80',  3, '2017-03-05'),
    (3,  'Café du Marché',                  'Élodie Marchand',   'Lyon',        'France',      '+33 4 78 42 10 11', 4, '2017-04-21'),
    (4,  'Müller & Söhne Kolonialwaren',    'Klaus Müller',      'München',     'Germany',     '+49 89 4412 3300',  4, '2016-11-30'),
    (5,  'Ålesund Fisk og Delikatesse AS',  'Ingrid Østby',      'Ålesund',     'Norway',      NULL,                7, '2021-09-14'),
    (6,  '北京华茂贸易有限公司',            '王伟',              '北京',        'China',       '+86 10 6552 8890',  6, '2020-06-02'),
    (7,  '株式会社山田商事',                '山田 太郎',         '大阪',        'Japan',       '+81 6 6312 4470',   6, '2020-07-19'),
    (8,  'Seoul Green Tea Co.',             '김민준',            '서울',        'South Korea', '+82 2 3453 1200',   6, '2022-01-10'),
    (9,  'O''Neill Provisions Ltd',         'Siobhán O''Neill',  'Cork',        'Ireland',     '+353 21 427 9000',  8, '2018-02-27'),
    (10, 'Harbour Street Grocers',          'Tom Fletcher',      'Bristol',     'UK',          '+44 117 496 0321',  8, '2018-05-03'),
    (11, 'São Paulo Importadora Ltda.',     'João Pereira',      'São Paulo',   'Brazil',      '+55 11 3061 2044',  3, '2019-01-22'),
    (12, 'Delikatesy Kraków Sp. z o.o.',    'Agnieszka Wójcik',  'Kraków',      'Poland',      '+48 12 421 55 90',  5, '2019-12-09'),
    (13, 'Łódź Smaki',                      NULL,                'Łódź',        'Poland',      NULL,                5, '2023-03-15'),
    (14, 'Praha Gurmán s.r.o.',             'Jiří Dvořák',       'Praha',       'Czechia',     '+420 224 811 302',  5, '2020-10-01'),
    (15, 'Göteborgs Kaffehus AB',           'Lars Åkesson',      'Göteborg',    'Sweden',      '+46 31 711 2040',   7, '2021-11-11'),
    (16, 'København Te & Kaffe',            'Mette Sørensen',    'København',   'Denmark',     '+45 33 12 40 90',   7, '2022-02-03'),
    (17, 'Trattoria da Nino',               'Giovanni Esposito', 'Napoli',      'Italy',       '+39 081 552 1187',  4, '2017-07-07'),
    (18, 'Zürcher Teehaus AG',              'Beat Zürcher',      'Zürich',      'Switzerland', '+41 44 251 7080',   4, '2018-09-25'),
    (19, 'Maple Leaf Fine Foods',           'Chloé Tremblay',    'Montréal',    'Canada',      '+1 514 555 0142',   8, '2019-04-16'),
    (20, 'Golden Gate Gourmet',             'Ashley Nguyen',     'San Francisco','USA',        '+1 415 555 0188',   8, '2018-08-08'),
    (21, 'Nordlicht Bioladen',              'Frauke Jansen',     'Hamburg',     'Germany',     NULL,                4, '2024-02-12'),
    (22, 'Istanbul Baharat Evi',            'Ayşe Yılmaz',       'İstanbul',    'Türkiye',     '+90 212 512 3340',  3, '2021-05-28'),
    (23, 'Athens Olive Market',             'Νίκος Παπαδόπουλος','Αθήνα',       'Greece',      '+30 21 0323 4455',  3, '2022-06-30'),
    (24, 'Helsingin Herkku Oy',             'Mikko Häkkinen',    'Helsinki',    'Finland',     '+358 9 622 1010',   7, '2023-09-04'),
    (25, 'Amsterdam Koffie Compagnie',      'Sanne de Vries',    'Amsterdam',   'Netherlands', '+31 20 624 8811',   4, '2017-10-16'),
    (26, 'Lisboa Sabores Lda.',             'Inês Rodrigues',    'Lisboa',      'Portugal',    '+351 21 342 7700',  3, '2019-06-06'),
    (27, 'Wiener Zuckerbäckerei',           'Franz Österreicher','Wien',        'Austria',     '+43 1 512 1717',    4, '2016-12-19'),
    (28, 'Mumbai Spice Traders',            'Priya Sharma',      'Mumbai',      'India',       '+91 22 2204 6633',  6, '2021-03-03'),
    (29, 'Sydney Harbour Deli',             'Liam O''Connor',    'Sydney',      'Australia',   '+61 2 9251 0077',   8, '2022-10-24'),
    (30, 'Brussels Chocolatier',            'Luc Peeters',       'Bruxelles',   'Belgium',     NULL,                7, '2025-01-13');

INSERT INTO products VALUES
    (1,  'Darjeeling First Flush',     'Tea',           '100 g tin',          14.50,  220, 0),
    (2,  'Assam Breakfast',            'Tea',           '250 g bag',           8.90,  540, 0),
    (3,  'Sencha 煎茶',                'Tea',           '100 g bag',          11.20,  180, 0),
    (4,  'Gyokuro 玉露',               'Tea',           '50 g tin',           24.00,   45, 0),
    (5,  'Earl Grey Crème',            'Tea',           '250 g bag',           9.75,  610, 0),
    (6,  'Rooibos Vanille',            'Tea',           '250 g bag',           7.40,  300, 1),
    (7,  'Espresso Roast',             'Coffee',        '1 kg beans',         21.90,  410, 0),
    (8,  'Kona Extra Fancy',           'Coffee',        '500 g beans',        48.00,   30, 0),
    (9,  'Yirgacheffe Natural',        'Coffee',        '1 kg beans',         27.50,  150, 0),
    (10, 'Décaféiné Colombia',         'Coffee',        '500 g ground',       12.60,   95, 0),
    (11, 'Smoked Paprika',             'Spices',        '75 g tin',            4.20,  800, 0),
    (12, 'Saffron Mancha',             'Spices',        '1 g jar',             9.95,   60, 0),
    (13, 'Sichuan Pepper 花椒',        'Spices',        '50 g jar',            5.80,  240, 0),
    (14, 'Garam Masala',               'Spices',        '100 g jar',           4.95,  330, 0),
    (15, 'Fleur de Sel',               'Spices',        NULL,                  6.30,  500, 0),
    (16, 'Extra Virgin Olive Oil',     'Oils',          '6 x 750 ml',         59.40,  120, 0),
    (17, 'Toasted Sesame Oil',         'Oils',          '500 ml',              7.85,  210, 0),
    (18, 'Pumpkin Seed Oil',           'Oils',          '250 ml',             11.90,    0, 1),
    (19, 'Belgian Pralines',           'Confectionery', '250 g box',          18.00,  140, 0),
    (20, 'Crème Brûlée Mix',           'Confectionery', NULL,                  3.60,  260, 0),
    (21, 'Lebkuchen Nürnberger Art',   'Confectionery', '500 g box',           9.20,    0, 0),
    (22, 'Turrón de Alicante',         'Confectionery', '300 g bar',           8.45,  175, 0),
    (23, 'Matcha Ceremonial 抹茶',     'Tea',           '30 g tin',           32.00,   70, 0),
    (24, 'Maple Syrup Grade A',        'Confectionery', '500 ml',             15.30,   88, 0);

-- 120 orders from January 2024 on; the last ones and a few others are not
-- shipped yet, a few have no freight charge recorded.
WITH RECURSIVE seq(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM seq WHERE n < 120)
INSERT INTO orders (order_id, customer_id, employee_id, order_date, shipped_date, freight, ship_city)
SELECT 10000 + n,
       (n * 17) % 30 + 1,
       (n * 5) % 6 + 3,
       date('2024-01-03', '+' || (n * 59 / 10) || ' days'),
       CASE WHEN n > 112 OR n % 29 = 0 THEN NULL
            ELSE date('2024-01-03', '+' || (n * 59 / 10 + 1 + n % 6) || ' days') END,
       CASE WHEN n % 23 = 0 THEN NULL ELSE round(4.5 + (n * 37 % 900) / 10.0, 2) END,
       NULL
FROM seq;

UPDATE orders
SET ship_city = (SELECT city FROM customers c WHERE c.customer_id = orders.customer_id)
WHERE order_id % 11 <> 0;

-- One to four lines per order, each for a different product at its list price.
WITH RECURSIVE k(line_no) AS (SELECT 1 UNION ALL SELECT line_no + 1 FROM k WHERE line_no < 4)
INSERT INTO order_lines (order_id, line_no, product_id, quantity, unit_price, discount)
SELECT o.order_id,
       k.line_no,
       p.product_id,
       (o.order_id * 13 + k.line_no * 7) % 48 + 2,
       p.unit_price,
       CASE WHEN (o.order_id + k.line_no) % 7 = 0 THEN 0.10
            WHEN (o.order_id + k.line_no) % 5 = 0 THEN 0.05 END
FROM orders o
JOIN k ON k.line_no <= o.order_id % 4 + 1
JOIN products p ON p.product_id = (o.order_id * 7 + k.line_no * 5) % 24 + 1
ORDER BY o.order_id, k.line_no;

COMMIT;

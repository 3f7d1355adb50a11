-- A tour of Tarnwell on the demo database
--
-- The data source "TarnwellDemo" holds the books of a small fine-food trading
-- company: employees, customers, products, orders and order_lines.
-- Press Ctrl+Enter to run this whole script. The output pane above shows each
-- statement, then its result table, "ok", or the error it caused.
--
-- Statements end with a semicolon. A comment travels with the statement below
-- it, unless "Remove comments" is ticked under Edit > Options (where the
-- column widths and spooling to a file are set, too). After a run, Alt+Left
-- and Alt+Right step through earlier scripts and Ctrl+H lists them.

/* 1. The staff. An employee without a manager or without a salary shows
      blanks there: that is how NULL looks in a result table. */
select employee_id, first_name, last_name, title, reports_to, hire_date, salary
from employees
order by employee_id;

-- 2. A join: the customers in Asia and Eastern Europe and who looks after them.
select c.company, c.city, c.country, c.phone, e.last_name as manager
from customers c
join employees e on e.employee_id = c.account_manager
where c.country in ('China', 'Japan', 'South Korea', 'India', 'Poland', 'Czechia')
order by c.country, c.company;

-- 3. More NULLs: the orders that have not been shipped yet.
select o.order_id, o.order_date, o.shipped_date, o.freight, o.ship_city, c.company
from orders o
join customers c on c.customer_id = o.customer_id
where o.shipped_date is null
order by o.order_date;

-- 4. Aggregates over three tables: the ten best countries by revenue.
select c.country,
       count(distinct o.order_id) as orders,
       sum(l.quantity) as units,
       round(sum(l.quantity * l.unit_price * (1 - coalesce(l.discount, 0))), 2) as revenue
from customers c
join orders o on o.customer_id = c.customer_id
join order_lines l on l.order_id = o.order_id
group by c.country
order by revenue desc
limit 10;

/* 5. Statements without a result set answer "ok". The temporary view and
      table below last as long as the connection, and dropping them first
      lets this script run again and again. A comment goes to the data
      source with its statement, and the SQLite driver refuses a semicolon
      in it, so this comment has none. */
drop view if exists temp.product_sales;

create temp view product_sales as
select p.product_id, p.name, p.category, p.in_stock,
       coalesce(sum(l.quantity), 0) as units
from products p
left join order_lines l on l.product_id = p.product_id
where p.discontinued = 0
group by p.product_id;

drop table if exists temp.reorder_list;

create temp table reorder_list (
    product_id  integer,
    name        varchar(30),
    in_stock    integer,
    sold        integer
);

insert into reorder_list (product_id, name, in_stock, sold)
select product_id, name, in_stock, units
from product_sales
where in_stock * 4 < units;

-- 6. What to order again: less than half a year's stock at the pace of the last
--    two years (an empty table would say that all is well).
select * from reorder_list order by sold - in_stock desc;

-- 7. Sales per category, from the view.
select category, count(*) as products, sum(units) as units, sum(in_stock) as in_stock
from product_sales
group by category
order by units desc;

-- 8. A semicolon inside quotes does not end a statement: 'Tea; Coffee' is one string.
select name, unit_price, category
from products
where instr('Tea; Coffee', category) > 0 and unit_price > 20
order by unit_price desc;

-- 9. This statement fails on purpose: the company keeps no table of suppliers.
--    The error is printed under it and the run goes on with the next statement.
select name, phone from suppliers;

-- 10. The last word: each sales representative's year, best first.
select e.first_name, e.last_name, strftime('%Y', o.order_date) as year,
       count(*) as orders, sum(o.freight) as freight
from employees e
join orders o on o.employee_id = e.employee_id
group by e.employee_id, year
order by year, orders desc;

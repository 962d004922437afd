// The same table judged the way an analyst's DuckDB query would: read_csv,
// the pooled z statistic and its two-sided p value for every row, written
// with COPY. DuckDB has no normal distribution of its own, so the p value
// comes from the usual erfc series (Numerical Recipes' erfcc, good to 1.2e-7).
//
//   node duckdb_reference.mjs IN.csv OUT.csv   (with @duckdb/node-api on NODE_PATH)

import { DuckDBInstance } from '@duckdb/node-api';

const [source, target] = process.argv.slice(2);
const instance = await DuckDBInstance.create(':memory:');
const connection = await instance.connect();
const quote = (path) => `'${path.replaceAll("'", "''")}'`;
await connection.run(`
  COPY (
    WITH t AS (SELECT *, (responses1 + responses2) / (views1 + views2) AS pooled FROM read_csv(${quote(source)})),
    z AS (SELECT *, (responses1 / views1 - responses2 / views2)
                      / sqrt(pooled * (1 - pooled) * (1 / views1 + 1 / views2)) AS z FROM t),
    e AS (SELECT *, abs(z) / sqrt(2) AS x, 1 / (1 + 0.5 * abs(z) / sqrt(2)) AS u FROM z)
    SELECT * EXCLUDE (pooled, x, u),
           u * exp(-x * x - 1.26551223 + u * (1.00002368 + u * (0.37409196 + u * (0.09678418
             + u * (-0.18628806 + u * (0.27886807 + u * (-1.13520398 + u * (1.48851587
             + u * (-0.82215223 + u * 0.17087277))))))))) AS p_two_sided
    FROM e
  ) TO ${quote(target)} (HEADER, DELIMITER ',')`);
